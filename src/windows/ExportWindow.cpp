// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/ExportWindow.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "session/WindowTexts.h"
#include "storage/BoardFile.h"
#include "view/QtText.h"
#include "windows/FileLists.h"

TSaveDlg::TSaveDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setFixedSize(ClientWidth, ClientHeight);
    m_parts = BuildFileWindow(
        this, {{8, 52, 137, 13}, {8, 68, 145, 153}, {160, 28, 145, 153}, {160, 186, 141, 13}});
    m_nameLabel = MakeBoldLabel(m_parts.groupBox, {8, 12, 145, 13});
    m_fileEdit = new QLineEdit(m_parts.groupBox);
    m_fileEdit->setGeometry(8, 28, 145, 21);
    // The name field comes first when tabbing, as it stands first.
    QWidget::setTabOrder(m_fileEdit, m_parts.fileList);
    connect(m_parts.lists, &FileLists::fileSelectionChanged, this, &TSaveDlg::showSelectedName);
    m_parts.lists->setDirectory(QDir::currentPath());
    setTexts(-1);
}

void TSaveDlg::setTexts(int language) {
    using namespace file_window_text;
    setWindowTitle(toQString(ExportCaption.in(language)));
    m_nameLabel->setText(toQString(FileNameLabel.in(language)));
    m_parts.filesLabel->setText(toQString(FilesLabel.in(language)));
    m_parts.directoriesLabel->setText(toQString(DirectoriesLabel.in(language)));
    m_parts.placesLabel->setText(toQString(DrivesLabel.in(language)));
    m_parts.cancelBtn->setText(toQString(CancelCaption.in(language)));
}

bool TSaveDlg::choose(int language) {
    setTexts(language);
    PlaceOverParent(this);
    return exec() == QDialog::Accepted;
}

QString TSaveDlg::directory() const {
    return m_parts.lists->directory();
}

QString TSaveDlg::fileName() const {
    return m_fileEdit->text();
}

QString TSaveDlg::chosenPath() const {
    const std::string path =
        ExportPath(QFile::encodeName(directory()).toStdString(), QFile::encodeName(fileName()).toStdString());
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The name field follows the list: the selected file's name, or the mask when nothing is selected
// (as after the list is re-read for another directory).
void TSaveDlg::showSelectedName() {
    const QString name = m_parts.lists->selectedFileName();
    m_fileEdit->setText(name.isEmpty() ? toQString(file_window_text::NoFileName) : name);
}

void TSaveDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_fileEdit->setFocus(Qt::OtherFocusReason);
    m_parts.lists->reread();
    m_fileEdit->setText(toQString(file_window_text::NewFileName));
}

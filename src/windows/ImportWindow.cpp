// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/ImportWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include "session/WindowTexts.h"
#include "view/QtText.h"
#include "windows/FileLists.h"

Tloaddlg::Tloaddlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setFixedSize(ClientWidth, ClientHeight);
    m_parts = BuildFileWindow(
        this, {{8, 12, 145, 13}, {8, 28, 145, 193}, {160, 28, 145, 149}, {160, 184, 145, 13}});
    setTexts(-1);
}

void Tloaddlg::setTexts(int language) {
    using namespace file_window_text;
    setWindowTitle(toQString(ImportCaption.in(language)));
    m_parts.filesLabel->setText(toQString(FilesLabel.in(language)));
    m_parts.directoriesLabel->setText(toQString(DirectoriesLabel.in(language)));
    m_parts.placesLabel->setText(toQString(DrivesLabel.in(language)));
    m_parts.cancelBtn->setText(toQString(CancelCaption.in(language)));
}

bool Tloaddlg::choose(int language, const QString& directory) {
    setTexts(language);
    m_parts.lists->setDirectory(directory);
    PlaceOverParent(this);
    return exec() == QDialog::Accepted;
}

QString Tloaddlg::selectedPath() const {
    return m_parts.lists->selectedFilePath();
}

void Tloaddlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_parts.fileList->setFocus(Qt::OtherFocusReason);
    m_parts.lists->reread();
}

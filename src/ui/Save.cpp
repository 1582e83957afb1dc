#include "ui/Save.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "storage/BoardFile.h"
#include "ui/FileLists.h"
#include "ui/FileWindowTexts.h"

TSaveDlg::TSaveDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setFixedSize(ClientWidth, ClientHeight);
    m_groupBox = new QGroupBox(this);
    m_groupBox->setGeometry(8, 4, 313, 229);
    m_nameLabel = MakeBoldLabel(m_groupBox, {8, 12, 145, 13});
    m_fileEdit = new QLineEdit(m_groupBox);
    m_fileEdit->setGeometry(8, 28, 145, 21);
    m_filesLabel = MakeBoldLabel(m_groupBox, {8, 52, 137, 13});
    m_fileList = new QListView(m_groupBox);
    m_fileList->setGeometry(8, 68, 145, 153);
    m_directoriesLabel = MakeBoldLabel(m_groupBox, {160, 12, 141, 13});
    // Without a drive list the directory list takes the drive list's place as well.
    m_directoryList = new QListView(m_groupBox);
    m_directoryList->setGeometry(160, 28, 145, 193);
    m_okBtn = MakeOKButton(this);
    m_cancelBtn = MakeCancelButton(this);
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    m_lists = new FileLists(m_fileList, m_directoryList, this);
    connect(m_lists, &FileLists::fileDoubleClicked, this, &QDialog::accept);
    connect(m_lists, &FileLists::fileSelectionChanged, this, &TSaveDlg::showSelectedName);
    connect(m_lists, &FileLists::directoryChosen, this, &TSaveDlg::showSelectedName);
    m_lists->setDirectory(QDir::currentPath());
    setTexts(-1);
}

void TSaveDlg::setTexts(int language) {
    setWindowTitle(ExportCaption.in(language));
    m_nameLabel->setText(FileNameLabel.in(language));
    m_filesLabel->setText(FilesLabel.in(language));
    m_directoriesLabel->setText(DirectoriesLabel.in(language));
    m_cancelBtn->setText(CancelCaption.in(language));
}

bool TSaveDlg::choose(int language) {
    setTexts(language);
    return exec() == QDialog::Accepted;
}

QString TSaveDlg::directory() const {
    return m_lists->directory();
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
// (as after a change of directory).
void TSaveDlg::showSelectedName() {
    const QString name = m_lists->selectedFileName();
    m_fileEdit->setText(name.isEmpty() ? QString::fromLatin1(NoFileName) : name);
}

void TSaveDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOverParent(this);
    m_fileEdit->setFocus(Qt::OtherFocusReason);
    m_lists->reread();
    m_fileEdit->setText(QString::fromLatin1(NewFileName));
}

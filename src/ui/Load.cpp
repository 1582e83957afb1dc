#include "ui/Load.h"

#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include "ui/FileLists.h"
#include "ui/FileWindowTexts.h"

Tloaddlg::Tloaddlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setFixedSize(ClientWidth, ClientHeight);
    m_groupBox = new QGroupBox(this);
    m_groupBox->setGeometry(8, 4, 313, 229);
    m_filesLabel = MakeBoldLabel(m_groupBox, {8, 12, 145, 13});
    m_fileList = new QListView(m_groupBox);
    m_fileList->setGeometry(8, 28, 145, 193);
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
    setTexts(-1);
}

void Tloaddlg::setTexts(int language) {
    setWindowTitle(ImportCaption.in(language));
    m_filesLabel->setText(FilesLabel.in(language));
    m_directoriesLabel->setText(DirectoriesLabel.in(language));
    m_cancelBtn->setText(CancelCaption.in(language));
}

bool Tloaddlg::choose(int language, const QString& directory) {
    setTexts(language);
    m_lists->setDirectory(directory);
    return exec() == QDialog::Accepted;
}

QString Tloaddlg::selectedPath() const {
    return m_lists->selectedFilePath();
}

void Tloaddlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOverParent(this);
    m_fileList->setFocus(Qt::OtherFocusReason);
    m_lists->reread();
}

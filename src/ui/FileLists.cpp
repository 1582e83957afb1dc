#include "ui/FileLists.h"

#include <QGroupBox>

#include <QDialog>

#include <QDir>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QWidget>

namespace {

const QString BoardFileMask = QStringLiteral("*.vrn");

} // namespace

QPoint FileWindowPosition(const QRect& mainFrame, const QSize& mainClient, const QSize& own) {
    return {mainFrame.left() + (mainFrame.width() - own.width()) / 2,
            mainFrame.top() + mainFrame.height() - (mainClient.height() + own.height()) / 2};
}

void PlaceOverParent(QWidget* window) {
    const QWidget* main = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (!main)
        return;
    window->move(FileWindowPosition(main->frameGeometry(), main->size(), window->frameGeometry().size()));
}

FileLists::FileLists(QListView* files, QListView* directories, QObject* parent)
    : QObject(parent), m_files(files), m_directories(directories), m_fileModel(new QFileSystemModel(this)),
      m_directoryModel(new QFileSystemModel(this)) {
    m_fileModel->setFilter(QDir::Files);
    m_fileModel->setNameFilters({BoardFileMask});
    m_fileModel->setNameFilterDisables(false); // hide what does not match, rather than grey it
    m_fileModel->setReadOnly(true);
    m_files->setModel(m_fileModel);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);

    // ".." stays in the list: it is the way up, as the parent directories are in a tree.
    m_directoryModel->setFilter(QDir::AllDirs | QDir::NoDot);
    m_directoryModel->setReadOnly(true);
    m_directories->setModel(m_directoryModel);
    m_directories->setEditTriggers(QAbstractItemView::NoEditTriggers);

    connect(m_files, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit fileDoubleClicked();
    });
    connect(m_files->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileLists::fileSelectionChanged);
    connect(m_directories, &QListView::activated, this, &FileLists::openDirectory);
}

void FileLists::setDirectory(const QString& path) {
    m_directory = QDir::cleanPath(QDir(path).absolutePath());
    m_files->setRootIndex(m_fileModel->setRootPath(m_directory));
    m_directories->setRootIndex(m_directoryModel->setRootPath(m_directory));
    m_directories->setToolTip(QDir::toNativeSeparators(m_directory));
    reread();
}

void FileLists::reread() {
    m_files->clearSelection();
    m_files->setCurrentIndex({});
    m_fileModel->sort(0);
    m_directoryModel->sort(0);
}

void FileLists::openDirectory(const QModelIndex& index) {
    if (!index.isValid())
        return;
    setDirectory(m_directoryModel->filePath(index));
    emit directoryChosen();
}

QString FileLists::selectedFileName() const {
    const QModelIndexList selected = m_files->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : m_fileModel->fileName(selected.first());
}

QString FileLists::selectedFilePath() const {
    const QModelIndexList selected = m_files->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : m_fileModel->filePath(selected.first());
}

QLabel* MakeBoldLabel(QWidget* parent, const QRect& place) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(place);
    return label;
}

QPushButton* MakeOKButton(QWidget* dialog) {
    auto* button = new QPushButton(QStringLiteral("OK"), dialog);
    button->setGeometry(160, 240, 77, 27);
    button->setDefault(true);
    return button;
}

// QDialog closes with Cancel on Escape by itself; the button only has to reject.
QPushButton* MakeCancelButton(QWidget* dialog) {
    auto* button = new QPushButton(dialog);
    button->setGeometry(244, 240, 77, 27);
    return button;
}

FileWindowParts BuildFileWindow(QDialog* dialog, const QRect& filesLabelPlace, const QRect& fileListPlace) {
    FileWindowParts parts{};
    parts.groupBox = new QGroupBox(dialog);
    parts.groupBox->setGeometry(8, 4, 313, 229);
    parts.filesLabel = MakeBoldLabel(parts.groupBox, filesLabelPlace);
    parts.fileList = new QListView(parts.groupBox);
    parts.fileList->setGeometry(fileListPlace);
    parts.directoriesLabel = MakeBoldLabel(parts.groupBox, {160, 12, 141, 13});
    // Without a drive list the directory list takes the drive list's place as well.
    parts.directoryList = new QListView(parts.groupBox);
    parts.directoryList->setGeometry(160, 28, 145, 193);
    parts.okBtn = MakeOKButton(dialog);
    parts.cancelBtn = MakeCancelButton(dialog);
    QObject::connect(parts.okBtn, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(parts.cancelBtn, &QPushButton::clicked, dialog, &QDialog::reject);
    parts.lists = new FileLists(parts.fileList, parts.directoryList, dialog);
    QObject::connect(parts.lists, &FileLists::fileDoubleClicked, dialog, &QDialog::accept);
    return parts;
}

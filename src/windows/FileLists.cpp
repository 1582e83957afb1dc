// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/FileLists.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QWidget>

#include <algorithm>

#include "session/Texts.h"
#include "view/QtText.h"

namespace {

const QString BoardFileMask = QStringLiteral("*.vrn");
const QString BoardSuffix = QStringLiteral("vrn");

// Each level of the way down is indented a little; deep paths stop indenting so names stay readable.
constexpr int IndentPerLevel = 6;
constexpr int MostIndent = 48;

constexpr const char* UserMountParents[] = {"/media", "/run/media", "/mnt"};

bool isWithin(const QString& path, const QString& directory) {
    if (path == directory)
        return true;
    const QString prefix = directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
    return path.startsWith(prefix);
}

// The nearest directory at or above `path` that still exists (a stick may have been pulled out, or
// the directory the program was started in removed).
QString existingDirectory(const QString& path) {
    QString directory = QDir::cleanPath(QDir(path).absolutePath());
    while (!QFileInfo(directory).isDir() && directory != QDir::rootPath())
        directory = QFileInfo(directory).path();
    return directory;
}

// "/", then each directory down to and including `directory`.
QStringList pathFromRoot(const QString& directory) {
    QStringList way{QDir::rootPath()};
    QString walked;
    for (const QString& part : directory.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked += QLatin1Char('/') + part;
        way << walked;
    }
    return way;
}

class DirectoryIndent : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(indented.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex& index) {
        return std::min(index.data(FileLists::DepthRole).toInt() * IndentPerLevel, MostIndent);
    }
};

QStandardItem* directoryItem(const QIcon& icon, const QString& name, const QString& path, int depth) {
    auto* item = new QStandardItem(icon, name);
    item->setData(path, FileLists::PathRole);
    item->setData(depth, FileLists::DepthRole);
    item->setEditable(false);
    return item;
}

} // namespace

QPoint FileWindowPosition(const QRect& mainFrame, const QSize& mainClient, const QSize& own) {
    return {mainFrame.left() + (mainFrame.width() - own.width()) / 2,
            mainFrame.top() + mainFrame.height() - (mainClient.height() + own.height()) / 2};
}

bool IsUserVolume(const QString& rootPath, const QString& device, const QString& homePath) {
    if (!device.startsWith(QLatin1String("/dev/")))
        return false; // proc, tmpfs, overlays and the like hold no player's files
    for (const char* parent : UserMountParents) {
        if (isWithin(rootPath, QString::fromLatin1(parent)) && rootPath != QLatin1String(parent))
            return true;
    }
    return isWithin(rootPath, homePath);
}

QStringList PlacePaths(const QString& homePath, const QString& programDir, const QStringList& userVolumes) {
    QStringList places;
    for (const QString& place : QStringList{homePath, programDir, QDir::rootPath()} + userVolumes) {
        const QString clean = QDir::cleanPath(place);
        if (!clean.isEmpty() && !places.contains(clean))
            places << clean;
    }
    return places;
}

// The window's own frame is known once it has been shown; before that the frame around the main window
// is the best guess for it, both being titled windows with a fixed border.
void PlaceOverParent(QWidget* window) {
    const QWidget* main = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (!main)
        return;
    const QSize ownFrame = window->frameGeometry().size();
    const QSize outer = ownFrame != window->size()
                            ? ownFrame
                            : window->size() + (main->frameGeometry().size() - main->size());
    window->move(FileWindowPosition(main->frameGeometry(), main->size(), outer));
}

FileLists::FileLists(QListView* files, QListView* directories, QComboBox* places, QObject* parent)
    : QObject(parent), m_files(files), m_directories(directories), m_places(places),
      m_fileModel(new QStandardItemModel(this)), m_directoryModel(new QStandardItemModel(this)) {
    m_files->setModel(m_fileModel);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_directories->setModel(m_directoryModel);
    m_directories->setSelectionMode(QAbstractItemView::SingleSelection);
    m_directories->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_directories->setItemDelegate(new DirectoryIndent(m_directories));

    connect(m_files, &QListView::doubleClicked, this, &FileLists::confirmFile);
    connect(m_files->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileLists::fileSelectionChanged);
    // An ancestor is one click away, as on a path bar; a subdirectory opens like a folder, with a
    // double-click or Enter (a single click there would make a double-click open two levels).
    connect(m_directories, &QListView::clicked, this, &FileLists::openAncestorEntry);
    connect(m_directories, &QListView::activated, this, &FileLists::openDirectoryEntry);
    connect(m_places, qOverload<int>(&QComboBox::activated), this, &FileLists::openPlace);
}

void FileLists::setDirectory(const QString& path) {
    m_directory = existingDirectory(path);
    m_directories->setToolTip(QDir::toNativeSeparators(m_directory));
    reread();
}

void FileLists::reread() {
    fillFiles();
    fillDirectories();
    fillPlaces();
}

// Plain files only: a directory, even one named like a board file, never shows here.
void FileLists::fillFiles() {
    m_fileModel->clear();
    const QFileInfoList entries =
        QDir(m_directory)
            .entryInfoList({BoardFileMask}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        auto* item = new QStandardItem(entry.fileName());
        item->setData(entry.absoluteFilePath(), PathRole);
        item->setEditable(false);
        m_fileModel->appendRow(item);
    }
    m_files->setCurrentIndex({});
    emit fileSelectionChanged();
}

void FileLists::fillDirectories() {
    m_directoryModel->clear();
    const QStyle* style = m_directories->style();
    const QIcon open = style->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style->standardIcon(QStyle::SP_DirClosedIcon);
    const QStringList way = pathFromRoot(m_directory);
    for (int depth = 0; depth < way.size(); ++depth) {
        const QString& path = way[depth];
        const QString name = depth == 0 ? path : QFileInfo(path).fileName();
        m_directoryModel->appendRow(directoryItem(open, name, path, depth));
    }
    const int current = static_cast<int>(way.size()) - 1;
    const QFileInfoList subdirectories =
        QDir(m_directory).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& subdirectory : subdirectories)
        m_directoryModel->appendRow(
            directoryItem(closed, subdirectory.fileName(), subdirectory.absoluteFilePath(), current + 1));
    const QModelIndex here = m_directoryModel->index(current, 0);
    m_directories->setCurrentIndex(here);
    m_directories->scrollTo(here);
}

void FileLists::fillPlaces() {
    const QString home = QDir::homePath();
    QStringList volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() &&
            IsUserVolume(volume.rootPath(), QString::fromLocal8Bit(volume.device()), home))
            volumes << volume.rootPath();
    }
    const QStringList places = PlacePaths(home, QCoreApplication::applicationDirPath(), volumes);
    const QSignalBlocker quiet(m_places);
    m_places->clear();
    int shown = -1;
    qsizetype shownLength = -1;
    for (const QString& place : places) {
        m_places->addItem(QDir::toNativeSeparators(place), place);
        // The place the current directory lies in, the deepest one where places nest.
        if (isWithin(m_directory, place) && place.size() > shownLength) {
            shown = m_places->count() - 1;
            shownLength = place.size();
        }
    }
    m_places->setCurrentIndex(shown);
}

void FileLists::openDirectory(const QString& path) {
    if (path.isEmpty() || path == m_directory)
        return;
    setDirectory(path);
    emit directoryChosen();
}

void FileLists::openDirectoryEntry(const QModelIndex& index) {
    if (index.isValid())
        openDirectory(index.data(PathRole).toString());
}

void FileLists::openAncestorEntry(const QModelIndex& index) {
    const int currentDepth = static_cast<int>(pathFromRoot(m_directory).size()) - 1;
    if (index.isValid() && index.data(DepthRole).toInt() < currentDepth)
        openDirectory(index.data(PathRole).toString());
}

void FileLists::openPlace(int row) {
    openDirectory(m_places->itemData(row).toString());
}

// Only a board file that is still there confirms the window; anything else re-reads the list.
void FileLists::confirmFile(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const QFileInfo file(index.data(PathRole).toString());
    if (file.isFile() && file.suffix().compare(BoardSuffix, Qt::CaseInsensitive) == 0) {
        emit fileDoubleClicked();
        return;
    }
    fillFiles();
}

QString FileLists::selectedFileName() const {
    const QModelIndexList selected = m_files->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

QString FileLists::selectedFilePath() const {
    const QModelIndexList selected = m_files->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data(PathRole).toString();
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
    auto* button = new QPushButton(toQString(OKCaption), dialog);
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

FileWindowParts BuildFileWindow(QDialog* dialog, const FileWindowPlaces& places) {
    FileWindowParts parts{};
    parts.groupBox = new QGroupBox(dialog);
    parts.groupBox->setGeometry(8, 4, 313, 229);
    parts.filesLabel = MakeBoldLabel(parts.groupBox, places.filesLabel);
    parts.fileList = new QListView(parts.groupBox);
    parts.fileList->setGeometry(places.fileList);
    parts.directoriesLabel = MakeBoldLabel(parts.groupBox, {160, 12, 141, 13});
    parts.directoryList = new QListView(parts.groupBox);
    parts.directoryList->setGeometry(places.directoryList);
    parts.placesLabel = MakeBoldLabel(parts.groupBox, places.placesLabel);
    parts.placesList = new QComboBox(parts.groupBox);
    parts.placesList->setGeometry(160, 202, 145, 19);
    parts.okBtn = MakeOKButton(dialog);
    parts.cancelBtn = MakeCancelButton(dialog);
    QObject::connect(parts.okBtn, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(parts.cancelBtn, &QPushButton::clicked, dialog, &QDialog::reject);
    parts.lists = new FileLists(parts.fileList, parts.directoryList, parts.placesList, dialog);
    QObject::connect(parts.lists, &FileLists::fileDoubleClicked, dialog, &QDialog::accept);
    return parts;
}

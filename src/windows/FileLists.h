// SPDX-License-Identifier: GPL-3.0-or-later
// What the import and export windows share: a "*.vrn" file list, a directory list that shows the way
// from the root down to the current directory and then its subdirectories, and a list of places (home,
// program directory, root, mounted user volumes) where the drive list would be; all three follow each
// other. Also the placing of a file window over the main window.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QListView;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QWidget;

// Top-left of a file window of outer size `own` over the main window: centred horizontally on the
// main window's outer rectangle and vertically on its client area (divisions truncate).
QPoint FileWindowPosition(const QRect& mainFrame, const QSize& mainClient, const QSize& own);

// Whether a mounted volume is one a player keeps files on (a stick, a card, a second disk), rather
// than a part of the system: a block device mounted under /media, /run/media, /mnt or the home
// directory.
bool IsUserVolume(const QString& rootPath, const QString& device, const QString& homePath);

// The places list: home, the program directory, the root, then the user volumes, each path once.
QStringList PlacePaths(const QString& homePath, const QString& programDir, const QStringList& userVolumes);

class FileLists : public QObject {
    Q_OBJECT
public:
    // The data of a directory list entry beside its name.
    static constexpr int PathRole = 0x0100;  // Qt::UserRole: the entry's absolute path
    static constexpr int DepthRole = 0x0101; // levels below the root; subdirectories are one deeper

    // Fills the three controls (which stay owned by their windows) and keeps them following each other.
    FileLists(QListView* files, QListView* directories, QComboBox* places, QObject* parent);

    // Shows `path` (made absolute and clean) in all lists; the file selection is cleared.
    void setDirectory(const QString& path);
    QString directory() const { return m_directory; }

    // Reads the current directory and the mounted volumes again and clears the file selection.
    void reread();

    QString selectedFileName() const; // empty when no file is selected
    QString selectedFilePath() const; // full path; empty when no file is selected

signals:
    void directoryChosen();      // the player opened another directory
    void fileSelectionChanged(); // a file was selected, or the selection was cleared
    void fileDoubleClicked();    // a board file, still there, was double-clicked

private:
    void fillFiles();
    void fillDirectories();
    void fillPlaces();
    void openDirectory(const QString& path);
    void openDirectoryEntry(const QModelIndex& index);
    void openAncestorEntry(const QModelIndex& index);
    void openPlace(int row);
    void confirmFile(const QModelIndex& index);

    QListView* m_files;
    QListView* m_directories;
    QComboBox* m_places;
    QStandardItemModel* m_fileModel;
    QStandardItemModel* m_directoryModel;
    QString m_directory;
};

// Puts a window over its parent (the main window) by FileWindowPosition; nothing without a parent.
// Called before the window shows: a place given before the first showing is the frame's, which the
// window manager keeps, while a move once the window is up but not yet framed would put the client
// area there instead.
void PlaceOverParent(QWidget* window);

// The parts both windows are built from: a bold label and the OK and Cancel buttons at the
// bottom right (OK the default button, Cancel the Escape key's).
QLabel* MakeBoldLabel(QWidget* parent, const QRect& place);
QPushButton* MakeOKButton(QWidget* dialog);
QPushButton* MakeCancelButton(QWidget* dialog);

// Where the controls that differ between the two windows stand.
struct FileWindowPlaces {
    QRect filesLabel;
    QRect fileList;
    QRect directoryList;
    QRect placesLabel;
};

// The controls both file windows are built from, inside `dialog`: the group box with the files
// label and the file list, the directories label and list beside them, the places label and list
// below those, OK and Cancel (accepting and rejecting), and the lists that follow each other (a
// double-click on a board file accepts).
struct FileWindowParts {
    QGroupBox* groupBox;
    QLabel* filesLabel;
    QListView* fileList;
    QLabel* directoriesLabel;
    QListView* directoryList;
    QLabel* placesLabel;
    QComboBox* placesList;
    QPushButton* okBtn;
    QPushButton* cancelBtn;
    FileLists* lists;
};
FileWindowParts BuildFileWindow(QDialog* dialog, const FileWindowPlaces& places);

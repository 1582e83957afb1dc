// What the import and export windows share: a directory list and a "*.vrn" file list that follow
// each other, and the placing of a file window over the main window. There is no drive list on
// Linux: the directory list reaches every directory from the root.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

class QDialog;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QPushButton;
class QListView;
class QModelIndex;
class QWidget;

// Top-left of a file window of outer size `own` over the main window: centred horizontally on the
// main window's outer rectangle and vertically on its client area (divisions truncate).
QPoint FileWindowPosition(const QRect& mainFrame, const QSize& mainClient, const QSize& own);

class FileLists : public QObject {
    Q_OBJECT
public:
    // Fills the two views (which stay owned by their windows) with the lists.
    FileLists(QListView* files, QListView* directories, QObject* parent);

    // Shows `path` (made absolute and clean) in both lists; the file selection is cleared.
    void setDirectory(const QString& path);
    QString directory() const { return m_directory; }

    // Re-reads the file list of the current directory and clears the selection.
    void reread();

    QString selectedFileName() const; // empty when no file is selected
    QString selectedFilePath() const; // full path; empty when no file is selected

    QFileSystemModel* fileModel() const { return m_fileModel; }
    QFileSystemModel* directoryModel() const { return m_directoryModel; }

signals:
    void directoryChosen();      // the player opened another directory
    void fileSelectionChanged(); // a file was selected, or the selection was cleared
    void fileDoubleClicked();

private:
    void openDirectory(const QModelIndex& index);

    QListView* m_files;
    QListView* m_directories;
    QFileSystemModel* m_fileModel;
    QFileSystemModel* m_directoryModel;
    QString m_directory;
};

// Puts a window over its parent (the main window) by FileWindowPosition; nothing without a parent.
void PlaceOverParent(QWidget* window);

// The parts both windows are built from: a bold label and the OK and Cancel buttons at the
// bottom right (OK the default button, Cancel the Escape key's).
QLabel* MakeBoldLabel(QWidget* parent, const QRect& place);
QPushButton* MakeOKButton(QWidget* dialog);
QPushButton* MakeCancelButton(QWidget* dialog);

// The controls both file windows are built from, inside `dialog`: the group box with the files
// label and the file list at their places, the directories label and list beside them, OK and
// Cancel (accepting and rejecting), and the lists that follow each other (a double-click on a file
// accepts).
struct FileWindowParts {
    QGroupBox* groupBox;
    QLabel* filesLabel;
    QListView* fileList;
    QLabel* directoriesLabel;
    QListView* directoryList;
    QPushButton* okBtn;
    QPushButton* cancelBtn;
    FileLists* lists;
};
FileWindowParts BuildFileWindow(QDialog* dialog, const QRect& filesLabelPlace, const QRect& fileListPlace);

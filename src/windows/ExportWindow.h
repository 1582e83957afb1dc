// SPDX-License-Identifier: GPL-3.0-or-later
// TSaveDlg: the modal export window, a name field over a "*.vrn" file list beside a directory
// list and a list of places. It keeps its directory between showings and hands back the export path.
#pragma once

#include <QDialog>

#include "windows/FileLists.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

class TSaveDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 329;
    static constexpr int ClientHeight = 274;

    // Starts in the working directory the program was started in.
    explicit TSaveDlg(QWidget* parent = nullptr);

    // Sets the texts for `language`, places the window over the main window, re-reads the file list,
    // puts "noname.vrn" into the name field and runs the window; true when it closed with OK.
    bool choose(int language);

    QString directory() const;
    QString fileName() const;
    // The directory and the name field's text joined by the export path rule (".vrn" extension).
    QString chosenPath() const;

    void setTexts(int language);
    FileLists* lists() const { return m_parts.lists; }
    QGroupBox* GroupBox1() const { return m_parts.groupBox; }
    QLabel* Label4() const { return m_nameLabel; }
    QLineEdit* FileEdit() const { return m_fileEdit; }
    QLabel* Label1() const { return m_parts.filesLabel; }
    QListView* FileListBox() const { return m_parts.fileList; }
    QLabel* Label2() const { return m_parts.directoriesLabel; }
    QListView* DirectoryListBox() const { return m_parts.directoryList; }
    QLabel* Label3() const { return m_parts.placesLabel; }
    QComboBox* DriveComboBox() const { return m_parts.placesList; }
    QPushButton* OKBtn() const { return m_parts.okBtn; }
    QPushButton* CancelBtn() const { return m_parts.cancelBtn; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showSelectedName();

    FileWindowParts m_parts{};
    QLabel* m_nameLabel;
    QLineEdit* m_fileEdit;
};

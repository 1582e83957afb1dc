// SPDX-License-Identifier: GPL-3.0-or-later
// Tloaddlg: the modal import window, a "*.vrn" file list beside a directory list and a list of
// places. It hands back the full path of the chosen board file.
#pragma once

#include <QDialog>

#include "windows/FileLists.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListView;
class QPushButton;

class Tloaddlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 329;
    static constexpr int ClientHeight = 276;

    explicit Tloaddlg(QWidget* parent = nullptr);

    // Sets the texts for `language`, shows `directory`, places the window over the main window and
    // runs the window; true when it closed with OK (the button, Enter, or a double-click on a file).
    bool choose(int language, const QString& directory);

    // Full path of the file selected in the list; empty when none is selected.
    QString selectedPath() const;

    void setTexts(int language);
    FileLists* lists() const { return m_parts.lists; }
    QGroupBox* GroupBox1() const { return m_parts.groupBox; }
    QListView* FileListBox() const { return m_parts.fileList; }
    QListView* DirectoryListBox() const { return m_parts.directoryList; }
    QLabel* Label3() const { return m_parts.placesLabel; }
    QComboBox* DriveComboBox() const { return m_parts.placesList; }
    QLabel* Label1() const { return m_parts.filesLabel; }
    QLabel* Label2() const { return m_parts.directoriesLabel; }
    QPushButton* OKBtn() const { return m_parts.okBtn; }
    QPushButton* CancelBtn() const { return m_parts.cancelBtn; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    FileWindowParts m_parts{};
};

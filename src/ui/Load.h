// Tloaddlg: the modal import window, a "*.vrn" file list beside a directory list. It hands back
// the full path of the chosen board file.
#pragma once

#include <QDialog>

class FileLists;
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

    // Sets the texts for `language`, shows `directory` and runs the window; true when it closed
    // with OK (the button, Enter, or a double-click on a file).
    bool choose(int language, const QString& directory);

    // Full path of the file selected in the list; empty when none is selected.
    QString selectedPath() const;

    void setTexts(int language);
    FileLists* lists() const { return m_lists; }
    QGroupBox* GroupBox1() const { return m_groupBox; }
    QListView* FileListBox() const { return m_fileList; }
    QListView* DirectoryListBox() const { return m_directoryList; }
    QLabel* Label1() const { return m_filesLabel; }
    QLabel* Label2() const { return m_directoriesLabel; }
    QPushButton* OKBtn() const { return m_okBtn; }
    QPushButton* CancelBtn() const { return m_cancelBtn; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* m_groupBox;
    QLabel* m_filesLabel;
    QListView* m_fileList;
    QLabel* m_directoriesLabel;
    QListView* m_directoryList;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
    FileLists* m_lists;
};

// The import and export windows: only "*.vrn" files listed, directories followed, the name field's
// rules, a double-click confirming with the file's path, texts in both languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ui/FileLists.h"
#include "ui/Load.h"
#include "ui/Save.h"

namespace {

class FileWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name : {"alpha.vrn", "beta.vrn", "notes.txt", "vrn", "gamma.vrn.bak"})
            touch(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("sub"));
        touch(m_dir.filePath("sub/inner.vrn"));
    }

    static void touch(const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(732, '\0'));
    }

    // The names a list shows under its root, once the model has read the directory.
    static QStringList shown(QListView* view, int expected) {
        const auto rows = [view] {
            return view->model()->rowCount(view->rootIndex());
        };
        (void)QTest::qWaitFor([&] { return rows() == expected; }, 5000); // a timeout shows in the names
        QStringList names;
        for (int row = 0; row < rows(); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        names.sort();
        return names;
    }

    // A modal window that the scripted answer failed to close is closed after a while, so a
    // broken double-click fails the test instead of hanging it.
    static void watchdog(QDialog& dlg) { QTimer::singleShot(5000, &dlg, &QDialog::reject); }

    static QModelIndex rowNamed(QListView* view, const QString& name) {
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
            if (index.data().toString() == name)
                return index;
        }
        return {};
    }

    static void doubleClick(QListView* view, const QModelIndex& index) {
        view->scrollTo(index);
        // A widget double-click in QTest is the second press alone; the first click comes before it.
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FileWindows, ImportListsOnlyBoardFilesAndTheDirectories) {
    Tloaddlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_TRUE(dlg.FileListBox()->hasFocus());
    EXPECT_EQ(shown(dlg.FileListBox(), 2), (QStringList{"alpha.vrn", "beta.vrn"}));
    EXPECT_EQ(shown(dlg.DirectoryListBox(), 2), (QStringList{"..", "sub"}));
}

TEST_F(FileWindows, ImportReturnsThePathOfTheDoubleClickedFile) {
    Tloaddlg dlg;
    bool clicked = false;
    QTimer::singleShot(0, &dlg, [&] {
        shown(dlg.FileListBox(), 2);
        const QModelIndex beta = rowNamed(dlg.FileListBox(), "beta.vrn");
        if (!beta.isValid())
            return dlg.reject();
        clicked = true;
        doubleClick(dlg.FileListBox(), beta);
    });
    watchdog(dlg);
    const bool accepted = dlg.choose(0, m_dir.path());
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(dlg.selectedPath(), QDir(m_dir.path()).filePath("beta.vrn"));
}

TEST_F(FileWindows, ImportCancelledOrWithoutSelection) {
    Tloaddlg dlg;
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    EXPECT_FALSE(dlg.choose(1, m_dir.path()));
    QTimer::singleShot(0, &dlg, [&] { dlg.OKBtn()->click(); });
    EXPECT_TRUE(dlg.choose(1, m_dir.path()));
    EXPECT_EQ(dlg.selectedPath(), "") << "OK without a selected file hands back no path";
}

TEST_F(FileWindows, DoubleClickOnADirectoryOpensIt) {
    Tloaddlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    dlg.show();
    shown(dlg.DirectoryListBox(), 2);
    doubleClick(dlg.DirectoryListBox(), rowNamed(dlg.DirectoryListBox(), "sub"));
    EXPECT_EQ(dlg.lists()->directory(), QDir(m_dir.path()).filePath("sub"));
    EXPECT_EQ(shown(dlg.FileListBox(), 1), QStringList{"inner.vrn"});
    EXPECT_TRUE(dlg.isVisible()) << "opening a directory does not confirm the window";
    EXPECT_EQ(shown(dlg.DirectoryListBox(), 1), QStringList{".."});
    doubleClick(dlg.DirectoryListBox(), rowNamed(dlg.DirectoryListBox(), ".."));
    EXPECT_EQ(dlg.lists()->directory(), QDir::cleanPath(m_dir.path()));
}

TEST_F(FileWindows, ImportWindowLayoutAndTexts) {
    Tloaddlg dlg;
    EXPECT_EQ(dlg.size(), QSize(329, 276));
    EXPECT_EQ(dlg.GroupBox1()->geometry(), QRect(8, 4, 313, 229));
    EXPECT_EQ(dlg.FileListBox()->geometry(), QRect(8, 28, 145, 193));
    EXPECT_EQ(dlg.OKBtn()->geometry(), QRect(160, 240, 77, 27));
    EXPECT_EQ(dlg.CancelBtn()->geometry(), QRect(244, 240, 77, 27));
    EXPECT_TRUE(dlg.OKBtn()->isDefault());
    EXPECT_TRUE(dlg.Label1()->font().bold());
    dlg.setTexts(1);
    EXPECT_EQ(dlg.windowTitle(), "Brett importieren");
    EXPECT_EQ(dlg.Label1()->text(), "Dateien:");
    EXPECT_EQ(dlg.Label2()->text(), "Verzeichnisse:");
    EXPECT_EQ(dlg.CancelBtn()->text(), "Abbruch");
    EXPECT_EQ(dlg.OKBtn()->text(), "OK");
    dlg.setTexts(0);
    EXPECT_EQ(dlg.windowTitle(), "Import board");
    EXPECT_EQ(dlg.Label1()->text(), "Files:");
    EXPECT_EQ(dlg.Label2()->text(), "Directories:");
    EXPECT_EQ(dlg.CancelBtn()->text(), "Escape");
}

TEST_F(FileWindows, ExportNameFieldFollowsTheListAndStartsAsNoname) {
    TSaveDlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    dlg.FileEdit()->setText("last time.vrn");
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_TRUE(dlg.FileEdit()->hasFocus());
    EXPECT_EQ(dlg.FileEdit()->text(), "noname.vrn");
    EXPECT_EQ(shown(dlg.FileListBox(), 2), (QStringList{"alpha.vrn", "beta.vrn"}));

    dlg.FileListBox()->setCurrentIndex(rowNamed(dlg.FileListBox(), "alpha.vrn"));
    EXPECT_EQ(dlg.FileEdit()->text(), "alpha.vrn");

    shown(dlg.DirectoryListBox(), 2);
    doubleClick(dlg.DirectoryListBox(), rowNamed(dlg.DirectoryListBox(), "sub"));
    EXPECT_EQ(dlg.FileEdit()->text(), "*.vrn") << "a new directory has no file selected";
}

TEST_F(FileWindows, ExportHandsBackThePathWithTheBoardExtension) {
    TSaveDlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    QTimer::singleShot(0, &dlg, [&] {
        dlg.FileEdit()->setText("mine.txt");
        dlg.OKBtn()->click();
    });
    ASSERT_TRUE(dlg.choose(0));
    EXPECT_EQ(dlg.chosenPath(), QDir::cleanPath(m_dir.path()) + "/mine.vrn");

    shown(dlg.FileListBox(), 2);
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_EQ(dlg.FileEdit()->text(), "noname.vrn") << "every showing starts with the new name";
        doubleClick(dlg.FileListBox(), rowNamed(dlg.FileListBox(), "beta.vrn"));
    });
    watchdog(dlg);
    ASSERT_TRUE(dlg.choose(0));
    EXPECT_EQ(dlg.chosenPath(), QDir::cleanPath(m_dir.path()) + "/beta.vrn");
    EXPECT_EQ(dlg.directory(), QDir::cleanPath(m_dir.path())) << "the window keeps its directory";
}

TEST_F(FileWindows, ExportWindowLayoutAndTexts) {
    TSaveDlg dlg;
    EXPECT_EQ(dlg.size(), QSize(329, 274));
    EXPECT_EQ(dlg.Label4()->geometry(), QRect(8, 12, 145, 13));
    EXPECT_EQ(dlg.FileEdit()->geometry(), QRect(8, 28, 145, 21));
    EXPECT_EQ(dlg.Label1()->geometry(), QRect(8, 52, 137, 13));
    EXPECT_EQ(dlg.FileListBox()->geometry(), QRect(8, 68, 145, 153));
    EXPECT_EQ(dlg.Label2()->geometry(), QRect(160, 12, 141, 13));
    EXPECT_EQ(dlg.DirectoryListBox()->x(), 160);
    EXPECT_EQ(dlg.directory(), QDir::cleanPath(QDir::currentPath()))
        << "first showing: the working directory";
    dlg.setTexts(1);
    EXPECT_EQ(dlg.windowTitle(), "Brett exportieren");
    EXPECT_EQ(dlg.Label4()->text(), "Dateiname:");
    EXPECT_EQ(dlg.Label1()->text(), "Dateien:");
    EXPECT_EQ(dlg.CancelBtn()->text(), "Abbruch");
    dlg.setTexts(-1);
    EXPECT_EQ(dlg.windowTitle(), "Export board");
    EXPECT_EQ(dlg.Label4()->text(), "Filename:");
    EXPECT_EQ(dlg.CancelBtn()->text(), "Escape");
}

TEST(FileWindowPlace, CentredOnTheMainWindowAndItsClientArea) {
    // Main window: outer 506 x 395 at (100, 50), client 500 x 366; own outer 335 x 305.
    EXPECT_EQ(FileWindowPosition(QRect(100, 50, 506, 395), QSize(500, 366), QSize(335, 305)),
              QPoint(100 + (506 - 335) / 2, 50 + 395 - (366 + 305) / 2));
    // Truncation toward zero when the window is wider than the main window.
    EXPECT_EQ(FileWindowPosition(QRect(0, 0, 100, 100), QSize(100, 80), QSize(301, 50)).x(), -100);
}

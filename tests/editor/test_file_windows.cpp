// SPDX-License-Identifier: GPL-3.0-or-later
// The import and export windows: only "*.vrn" files listed, never a directory; the way from the root
// to the current directory and its subdirectories; the places list; the name field's rules; a
// double-click confirming only on a board file that is there; texts in both languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "windows/FileLists.h"
#include "windows/ImportWindow.h"
#include "windows/ExportWindow.h"

namespace {

class FileWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name : {"alpha.vrn", "beta.vrn", "UPPER.VRN", "notes.txt", "vrn", "gamma.vrn.bak"})
            touch(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("sub"));
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.vrn"));
        touch(m_dir.filePath("sub/inner.vrn"));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("sub/deeper"));
    }

    static void touch(const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(732, '\0'));
    }

    QString dir() const { return QDir::cleanPath(m_dir.path()); }
    QString dir(const QString& below) const { return dir() + "/" + below; }

    // The names a list shows, in its order.
    static QStringList shown(QListView* view) {
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        return names;
    }

    // The directory list's names for the way from the root down to `directory`.
    static QStringList wayTo(const QString& directory) {
        return QStringList{"/"} + directory.split('/', Qt::SkipEmptyParts);
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

    static void click(QListView* view, const QString& name) {
        const QModelIndex index = rowNamed(view, name);
        ASSERT_TRUE(index.isValid()) << name.toStdString();
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

    static void doubleClick(QListView* view, const QString& name) {
        const QModelIndex index = rowNamed(view, name);
        ASSERT_TRUE(index.isValid()) << name.toStdString();
        view->scrollTo(index);
        // A widget double-click in QTest is the second press alone; the first click comes before it.
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    static QStringList places(QComboBox* box) {
        QStringList paths;
        for (int row = 0; row < box->count(); ++row)
            paths << box->itemData(row).toString();
        return paths;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FileWindows, FileListHoldsOnlyBoardFilesNeverADirectory) {
    Tloaddlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_TRUE(dlg.FileListBox()->hasFocus());
    EXPECT_EQ(shown(dlg.FileListBox()), (QStringList{"alpha.vrn", "beta.vrn", "UPPER.VRN"}));

    // Directories visited once stay out of the file list when the player comes back.
    doubleClick(dlg.DirectoryListBox(), "sub");
    ASSERT_EQ(dlg.lists()->directory(), dir("sub"));
    EXPECT_EQ(shown(dlg.FileListBox()), QStringList{"inner.vrn"});
    doubleClick(dlg.DirectoryListBox(), "deeper");
    EXPECT_EQ(shown(dlg.FileListBox()), QStringList{});
    click(dlg.DirectoryListBox(), QFileInfo(dir()).fileName());
    ASSERT_EQ(dlg.lists()->directory(), dir());
    EXPECT_EQ(shown(dlg.FileListBox()), (QStringList{"alpha.vrn", "beta.vrn", "UPPER.VRN"}));
}

TEST_F(FileWindows, DirectoryListShowsTheWayFromTheRootThenTheSubdirectories) {
    Tloaddlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    EXPECT_EQ(shown(dlg.DirectoryListBox()), wayTo(dir()) + QStringList({"folder.vrn", "sub"}));
    const QModelIndex current = dlg.DirectoryListBox()->currentIndex();
    EXPECT_EQ(current.data(FileLists::PathRole).toString(), dir()) << "the current directory is marked";
    EXPECT_EQ(current.data(FileLists::DepthRole).toInt(), wayTo(dir()).size() - 1);
    EXPECT_EQ(rowNamed(dlg.DirectoryListBox(), "sub").data(FileLists::DepthRole).toInt(), wayTo(dir()).size())
        << "subdirectories stand one level below it";

    dlg.lists()->setDirectory(dir("sub"));
    EXPECT_EQ(shown(dlg.DirectoryListBox()), wayTo(dir("sub")) + QStringList("deeper"));
    dlg.lists()->setDirectory("/");
    EXPECT_EQ(shown(dlg.DirectoryListBox()).first(), "/");
    EXPECT_EQ(shown(dlg.DirectoryListBox()).count("/"), 1) << "the root is listed once";
}

TEST_F(FileWindows, AClickOnAnAncestorGoesThereAndADoubleClickOpensOneSubdirectory) {
    Tloaddlg dlg;
    dlg.lists()->setDirectory(dir("sub/deeper"));
    dlg.show();
    QSignalSpy chosen(dlg.lists(), &FileLists::directoryChosen);

    click(dlg.DirectoryListBox(), "sub");
    EXPECT_EQ(dlg.lists()->directory(), dir("sub"));
    EXPECT_EQ(chosen.count(), 1);
    click(dlg.DirectoryListBox(), "sub");
    EXPECT_EQ(chosen.count(), 1) << "a click on the current directory changes nothing";

    click(dlg.DirectoryListBox(), "deeper");
    EXPECT_EQ(dlg.lists()->directory(), dir("sub")) << "one click only selects a subdirectory";
    doubleClick(dlg.DirectoryListBox(), "deeper");
    EXPECT_EQ(dlg.lists()->directory(), dir("sub/deeper"));

    // A double-click on an ancestor lands there once: the second click finds the new current directory.
    doubleClick(dlg.DirectoryListBox(), QFileInfo(dir()).fileName());
    EXPECT_EQ(dlg.lists()->directory(), dir());
    click(dlg.DirectoryListBox(), "/");
    EXPECT_EQ(dlg.lists()->directory(), "/");
    EXPECT_TRUE(dlg.isVisible()) << "moving between directories does not confirm the window";
}

TEST_F(FileWindows, AMissingDirectoryShowsItsNearestExistingAncestor) {
    Tloaddlg dlg;
    dlg.lists()->setDirectory(dir("gone/away"));
    EXPECT_EQ(dlg.lists()->directory(), dir());
    EXPECT_EQ(shown(dlg.FileListBox()), (QStringList{"alpha.vrn", "beta.vrn", "UPPER.VRN"}));
}

TEST_F(FileWindows, PlacesListTheHomeTheProgramDirectoryAndTheRootAndLeadThere) {
    Tloaddlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    const QStringList listed = places(dlg.DriveComboBox());
    ASSERT_GE(listed.size(), 3);
    EXPECT_EQ(listed.mid(0, 3),
              PlacePaths(QDir::homePath(), QCoreApplication::applicationDirPath(), {}).mid(0, 3));
    EXPECT_TRUE(listed.contains("/"));
    QStringList once = listed;
    EXPECT_EQ(once.removeDuplicates(), 0);

    QSignalSpy chosen(dlg.lists(), &FileLists::directoryChosen);
    const int root = static_cast<int>(listed.indexOf("/"));
    dlg.DriveComboBox()->setCurrentIndex(root);
    emit dlg.DriveComboBox()->activated(root);
    EXPECT_EQ(dlg.lists()->directory(), "/");
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(shown(dlg.DirectoryListBox()).first(), "/");

    // The list shows the place the current directory lies in.
    dlg.lists()->setDirectory(QCoreApplication::applicationDirPath());
    EXPECT_EQ(dlg.DriveComboBox()->currentData().toString(),
              QDir::cleanPath(QCoreApplication::applicationDirPath()));
}

TEST(Places, UserVolumesAreBlockDevicesUnderTheMountDirectoriesOrTheHome) {
    const QString home = "/home/anna";
    EXPECT_TRUE(IsUserVolume("/media/anna/STICK", "/dev/sdb1", home));
    EXPECT_TRUE(IsUserVolume("/run/media/anna/CARD", "/dev/mmcblk0p1", home));
    EXPECT_TRUE(IsUserVolume("/mnt/backup", "/dev/sdc1", home));
    EXPECT_TRUE(IsUserVolume("/home/anna/disk2", "/dev/nvme1n1p1", home));
    EXPECT_FALSE(IsUserVolume("/", "/dev/sda1", home));
    EXPECT_FALSE(IsUserVolume("/boot/efi", "/dev/sda2", home));
    EXPECT_FALSE(IsUserVolume("/media", "/dev/sda3", home)) << "the mount directory itself is no volume";
    EXPECT_FALSE(IsUserVolume("/mediastore", "/dev/sda4", home)) << "a name that only begins like it";
    EXPECT_FALSE(IsUserVolume("/run/user/1000", "tmpfs", home));
    EXPECT_FALSE(IsUserVolume("/media/anna/net", "server:/export", home));
}

TEST(Places, EachPathOnceInTheirOrder) {
    EXPECT_EQ(PlacePaths("/home/anna", "/usr/lib/tolvarpegs/", {"/media/anna/STICK"}),
              (QStringList{"/home/anna", "/usr/lib/tolvarpegs", "/", "/media/anna/STICK"}));
    EXPECT_EQ(PlacePaths("/home/anna", "/home/anna/", {"/", "/media/x", "/media/x"}),
              (QStringList{"/home/anna", "/", "/media/x"}));
}

TEST_F(FileWindows, ImportReturnsThePathOfTheDoubleClickedFile) {
    Tloaddlg dlg;
    QTimer::singleShot(0, &dlg, [&] { doubleClick(dlg.FileListBox(), "beta.vrn"); });
    watchdog(dlg);
    ASSERT_TRUE(dlg.choose(0, m_dir.path()));
    EXPECT_EQ(dlg.selectedPath(), dir("beta.vrn"));
}

TEST_F(FileWindows, ADoubleClickOnAFileThatIsGoneDoesNothing) {
    Tloaddlg dlg;
    bool stillOpen = false;
    QStringList listedAfter;
    QTimer::singleShot(0, &dlg, [&] {
        ASSERT_TRUE(rowNamed(dlg.FileListBox(), "beta.vrn").isValid());
        QFile::remove(dir("beta.vrn"));
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("beta.vrn")) << "a directory now has its name";
        doubleClick(dlg.FileListBox(), "beta.vrn");
        stillOpen = dlg.isVisible();
        listedAfter = shown(dlg.FileListBox());
        dlg.reject();
    });
    watchdog(dlg);
    EXPECT_FALSE(dlg.choose(0, m_dir.path()));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(listedAfter, (QStringList{"alpha.vrn", "UPPER.VRN"})) << "the list is read again";
}

TEST_F(FileWindows, ImportCancelledOrWithoutSelection) {
    Tloaddlg dlg;
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    EXPECT_FALSE(dlg.choose(1, m_dir.path()));
    QTimer::singleShot(0, &dlg, [&] { dlg.OKBtn()->click(); });
    EXPECT_TRUE(dlg.choose(1, m_dir.path()));
    EXPECT_EQ(dlg.selectedPath(), "") << "OK without a selected file hands back no path";
}

TEST_F(FileWindows, ImportWindowLayoutAndTexts) {
    Tloaddlg dlg;
    EXPECT_EQ(dlg.size(), QSize(329, 276));
    EXPECT_EQ(dlg.GroupBox1()->geometry(), QRect(8, 4, 313, 229));
    EXPECT_EQ(dlg.FileListBox()->geometry(), QRect(8, 28, 145, 193));
    EXPECT_EQ(dlg.DirectoryListBox()->geometry(), QRect(160, 28, 145, 149));
    EXPECT_EQ(dlg.Label3()->geometry(), QRect(160, 184, 145, 13));
    EXPECT_EQ(dlg.DriveComboBox()->geometry(), QRect(160, 202, 145, 19));
    EXPECT_EQ(dlg.OKBtn()->geometry(), QRect(160, 240, 77, 27));
    EXPECT_EQ(dlg.CancelBtn()->geometry(), QRect(244, 240, 77, 27));
    EXPECT_TRUE(dlg.OKBtn()->isDefault());
    EXPECT_TRUE(dlg.Label1()->font().bold());
    EXPECT_TRUE(dlg.Label3()->font().bold());
    dlg.setTexts(1);
    EXPECT_EQ(dlg.windowTitle(), "Brett importieren");
    EXPECT_EQ(dlg.Label1()->text(), "Dateien:");
    EXPECT_EQ(dlg.Label2()->text(), "Verzeichnisse:");
    EXPECT_EQ(dlg.Label3()->text(), "Laufwerke:");
    EXPECT_EQ(dlg.CancelBtn()->text(), "Abbruch");
    EXPECT_EQ(dlg.OKBtn()->text(), "OK");
    dlg.setTexts(0);
    EXPECT_EQ(dlg.windowTitle(), "Import board");
    EXPECT_EQ(dlg.Label1()->text(), "Files:");
    EXPECT_EQ(dlg.Label2()->text(), "Directories:");
    EXPECT_EQ(dlg.Label3()->text(), "Drives:");
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
    EXPECT_EQ(shown(dlg.FileListBox()), (QStringList{"alpha.vrn", "beta.vrn", "UPPER.VRN"}));

    dlg.FileListBox()->setCurrentIndex(rowNamed(dlg.FileListBox(), "alpha.vrn"));
    EXPECT_EQ(dlg.FileEdit()->text(), "alpha.vrn");

    doubleClick(dlg.DirectoryListBox(), "sub");
    EXPECT_EQ(dlg.FileEdit()->text(), "*.vrn") << "a new directory has no file selected";
    dlg.FileListBox()->setCurrentIndex(rowNamed(dlg.FileListBox(), "inner.vrn"));
    EXPECT_EQ(dlg.FileEdit()->text(), "inner.vrn");
    emit dlg.DriveComboBox()->activated(static_cast<int>(places(dlg.DriveComboBox()).indexOf("/")));
    EXPECT_EQ(dlg.FileEdit()->text(), "*.vrn") << "so has a new place";
}

TEST_F(FileWindows, ExportHandsBackThePathWithTheBoardExtension) {
    TSaveDlg dlg;
    dlg.lists()->setDirectory(m_dir.path());
    QTimer::singleShot(0, &dlg, [&] {
        dlg.FileEdit()->setText("mine.txt");
        dlg.OKBtn()->click();
    });
    ASSERT_TRUE(dlg.choose(0));
    EXPECT_EQ(dlg.chosenPath(), dir("mine.vrn"));

    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_EQ(dlg.FileEdit()->text(), "noname.vrn") << "every showing starts with the new name";
        doubleClick(dlg.FileListBox(), "beta.vrn");
    });
    watchdog(dlg);
    ASSERT_TRUE(dlg.choose(0));
    EXPECT_EQ(dlg.chosenPath(), dir("beta.vrn"));
    EXPECT_EQ(dlg.directory(), dir()) << "the window keeps its directory";
}

TEST_F(FileWindows, ExportWindowLayoutAndTexts) {
    TSaveDlg dlg;
    EXPECT_EQ(dlg.size(), QSize(329, 274));
    EXPECT_EQ(dlg.Label4()->geometry(), QRect(8, 12, 145, 13));
    EXPECT_EQ(dlg.FileEdit()->geometry(), QRect(8, 28, 145, 21));
    EXPECT_EQ(dlg.Label1()->geometry(), QRect(8, 52, 137, 13));
    EXPECT_EQ(dlg.FileListBox()->geometry(), QRect(8, 68, 145, 153));
    EXPECT_EQ(dlg.Label2()->geometry(), QRect(160, 12, 141, 13));
    EXPECT_EQ(dlg.DirectoryListBox()->geometry(), QRect(160, 28, 145, 153));
    EXPECT_EQ(dlg.Label3()->geometry(), QRect(160, 186, 141, 13));
    EXPECT_EQ(dlg.DriveComboBox()->geometry(), QRect(160, 202, 145, 19));
    EXPECT_EQ(dlg.directory(), QDir::cleanPath(QDir::currentPath()))
        << "first showing: the working directory";
    dlg.setTexts(1);
    EXPECT_EQ(dlg.windowTitle(), "Brett exportieren");
    EXPECT_EQ(dlg.Label4()->text(), "Dateiname:");
    EXPECT_EQ(dlg.Label1()->text(), "Dateien:");
    EXPECT_EQ(dlg.Label3()->text(), "Laufwerke:");
    EXPECT_EQ(dlg.CancelBtn()->text(), "Abbruch");
    dlg.setTexts(-1);
    EXPECT_EQ(dlg.windowTitle(), "Export board");
    EXPECT_EQ(dlg.Label4()->text(), "Filename:");
    EXPECT_EQ(dlg.Label3()->text(), "Drives:");
    EXPECT_EQ(dlg.CancelBtn()->text(), "Escape");
}

TEST(FileWindowPlace, CentredOnTheMainWindowAndItsClientArea) {
    // Main window: outer 506 x 395 at (100, 50), client 500 x 366; own outer 335 x 305.
    EXPECT_EQ(FileWindowPosition(QRect(100, 50, 506, 395), QSize(500, 366), QSize(335, 305)),
              QPoint(100 + (506 - 335) / 2, 50 + 395 - (366 + 305) / 2));
    // Truncation toward zero when the window is wider than the main window.
    EXPECT_EQ(FileWindowPosition(QRect(0, 0, 100, 100), QSize(100, 80), QSize(301, 50)).x(), -100);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The program shell's own pieces: splash, sound player, help viewer.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <sys/stat.h>

#include "app/HelpWindow.h"
#include "app/SoundPlayer.h"
#include "app/Splasher.h"
#include "view/PictureFile.h"

TEST(Splash, ClosesOnClickAndShowsItsPicture) {
    QTemporaryDir dir;
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 200));
    ASSERT_TRUE(picture.save(dir.filePath("b0.bmp")));

    TSplash splash(dir.path() + "/");
    EXPECT_EQ(splash.size(), QSize(200, 150));
    EXPECT_FALSE(splash.windowFlags() & Qt::WindowTitleHint);
    QTimer::singleShot(0, &splash, [&] {
        EXPECT_EQ(splash.grab().toImage().pixel(100, 75), qRgb(10, 120, 200));
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(20, 20));
    });
    EXPECT_EQ(splash.exec(), QDialog::Accepted);
}

TEST(Splash, MissingPictureStillClosesByItself) {
    QTemporaryDir dir;
    TSplash splash(dir.path() + "/");
    // Its own timer closes it: three seconds, once, running from the window's creation. The time
    // itself is not measured, which would depend on the machine's load.
    const QTimer* timer = splash.findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), TSplash::ShowMilliseconds);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(splash.exec(), QDialog::Accepted) << "closed with no click";
}

TEST(Sounds, NothingWhenOffOrZeroTheAlertWhenMissing) {
    QTemporaryDir dir;
    int alerts = 0;
    SoundPlayer player(dir.path() + "/", [&alerts] { ++alerts; });
    player.play(1, true); // no file: the system's alert sound in its place
    EXPECT_EQ(player.lastStarted(), 0);
    EXPECT_EQ(alerts, 1);
    player.play(1, false);
    player.play(0, true);
    EXPECT_EQ(alerts, 1) << "no alert when the sound is off or only stopped";

    QFile wav(dir.filePath("w5.wav"));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    // A 16-bit mono PCM header with a few samples of silence.
    const char header[] = "RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x22\x56\x00\x00"
                          "\x44\xac\x00\x00\x02\x00\x10\x00"
                          "data\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00";
    wav.write(header, sizeof header - 1);
    wav.close();

    player.play(5, false);
    EXPECT_EQ(player.lastStarted(), 0) << "sound switched off";
    player.play(0, true);
    EXPECT_EQ(player.lastStarted(), 0) << "number 0 only stops";
    player.play(5, true);
    EXPECT_EQ(player.lastStarted(), 5);
    EXPECT_EQ(alerts, 1) << "a sound that exists is no alert";
}

TEST(Help, ShowsTheTopicAndClosesBeforeTheNext) {
    QTemporaryDir dir;
    QFile file(dir.filePath("VORN.HLP"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><h1><a name=\"The_Game\">The game</a></h1><p>Rules</p>"
               "<h1><a name=\"Das_Spiel\">Das Spiel</a></h1><p>Regeln</p></body></html>");
    file.close();

    HelpWindow help;
    help.showTopic(dir.filePath("VORN.HLP"), "Das_Spiel");
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.currentTopic(), "Das_Spiel");
    EXPECT_TRUE(help.browser()->toPlainText().contains("Regeln"));

    help.closeHelp();
    EXPECT_FALSE(help.isVisible());
    help.showTopic(dir.filePath("VSER.HLP"), "Tolvar_Games_e"); // missing: a note, no failure
    EXPECT_TRUE(help.browser()->toPlainText().contains("not found"));
}

namespace {

// A file of `name` in `dir` that is no regular file: a named pipe nobody writes, or a link to a device
// that never ends.
void makePipe(const QTemporaryDir& dir, const QString& name) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0644), 0);
}
void makeEndlessLink(const QTemporaryDir& dir, const QString& name) {
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath(name)));
}

const char SilentWave[] = "RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x22\x56\x00\x00"
                          "\x44\xac\x00\x00\x02\x00\x10\x00"
                          "data\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00";

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// They are there, so the note says that they cannot be read, not that they are missing.
TEST(Help, APipeADeviceOrAHugeFileInTheHelpFilesPlaceShowsTheNoteAtOnce) {
    QTemporaryDir dir;
    makePipe(dir, "VORN.HLP");
    makeEndlessLink(dir, "VSER.HLP");
    writeBytes(dir.filePath("BIG.HLP"), QByteArray(9 * 1024 * 1024, 'x'));
    ASSERT_TRUE(QDir(dir.path()).mkdir("DIR.HLP"));
    HelpWindow help;
    for (const char* name : {"VORN.HLP", "VSER.HLP", "BIG.HLP", "DIR.HLP"}) {
        help.showTopic(dir.filePath(name), "The_Game");
        EXPECT_TRUE(help.isVisible()) << name;
        EXPECT_EQ(help.browser()->toPlainText(),
                  dir.filePath(name) + ": cannot be read / kann nicht gelesen werden")
            << name;
        help.closeHelp();
    }
}

TEST(Help, ALinkInTheHelpToAPipeShowsNothingInsteadOfHanging) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("VORN.HLP"),
               "<html><body><a name=\"The_Game\" href=\"VSER.HLP\">other</a></body></html>");
    makePipe(dir, "VSER.HLP");
    HelpWindow help;
    help.showTopic(dir.filePath("VORN.HLP"), "The_Game");
    help.browser()->setSource(QUrl::fromLocalFile(dir.filePath("VSER.HLP")), QTextDocument::HtmlResource);
    EXPECT_TRUE(help.browser()->toPlainText().isEmpty());
}

TEST(Sounds, APipeADeviceOrACutFileIsNotPlayed) {
    QTemporaryDir dir;
    makePipe(dir, "w1.wav");
    makeEndlessLink(dir, "w2.wav");
    // The header promises eight bytes of samples; four arrived.
    writeBytes(dir.filePath("w3.wav"), QByteArray(SilentWave, sizeof SilentWave - 1 - 4));
    writeBytes(dir.filePath("w4.wav"), QByteArray(SilentWave, sizeof SilentWave - 1));
    SoundPlayer player(dir.path() + "/");
    for (const int n : {1, 2, 3}) {
        player.play(n, true);
        EXPECT_EQ(player.lastStarted(), 0) << n;
    }
    player.play(4, true);
    EXPECT_EQ(player.lastStarted(), 4);
}

// The sound thread does what was asked last: a request it has not taken yet gives way to a newer one,
// and one that only stops is not lost behind it. The player goes at once with a request on its way.
TEST(Sounds, TheSoundThreadStartsTheNewestRequest) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("w4.wav"), QByteArray(SilentWave, sizeof SilentWave - 1));
    writeBytes(dir.filePath("w5.wav"), QByteArray(SilentWave, sizeof SilentWave - 1));
    SoundPlayer player(dir.path() + "/");
    const auto threadReaches = [&player](int n) {
        return QTest::qWaitFor([&] { return player.threadStarted() == n; });
    };
    player.play(4, true);
    EXPECT_TRUE(threadReaches(4));
    player.play(4, true);
    player.play(5, true);
    EXPECT_TRUE(threadReaches(5)) << "the newer request lost";
    player.play(4, true);
    player.play(0, true);
    EXPECT_TRUE(threadReaches(0)) << "the stop lost";
    player.play(5, true);
    EXPECT_TRUE(threadReaches(5));
    player.play(4, false);
    EXPECT_TRUE(threadReaches(0)) << "switching the sound off did not stop it";
    player.play(4, true);
}

TEST(Pictures, APictureIsLoadedCompletelyOrNotAtAll) {
    QTemporaryDir dir;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    ASSERT_TRUE(picture.save(dir.filePath("whole.bmp"), "BMP"));
    QFile whole(dir.filePath("whole.bmp"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    writeBytes(dir.filePath("cut.bmp"), bytes.left(bytes.size() - 1));
    makePipe(dir, "pipe.bmp");
    makeEndlessLink(dir, "zero.bmp");

    const QImage loaded = LoadPictureFile(dir.filePath("whole.bmp"));
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.pixelColor(39, 29), QColor(10, 200, 30));
    for (const char* name : {"cut.bmp", "pipe.bmp", "zero.bmp", "missing.bmp"})
        EXPECT_TRUE(LoadPictureFile(dir.filePath(name)).isNull()) << name;
}

// Each shipped topic opens with its own heading at the top of the help window: the last topic of a
// file needs room below it to be scrolled up that far.
TEST(Help, EveryShippedTopicOpensWithItsHeadingAtTheTop) {
    const struct {
        const char* file;
        const char* topic;
    } topics[] = {{"VORN.HLP", "Das_Spiel"},
                  {"VORN.HLP", "The_Game"},
                  {"VSER.HLP", "Tolvar_Games_d"},
                  {"VSER.HLP", "Tolvar_Games_e"}};
    for (const auto& entry : topics) {
        HelpWindow help;
        help.showTopic(QStringLiteral(TOLVAR_HELP_DIR "/") + entry.file, entry.topic);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
        QTextBrowser* browser = help.browser();
        browser->scrollToAnchor(entry.topic); // again, now that the window has its final size
        QTextDocument* document = browser->document();
        QTextBlock heading;
        for (QTextBlock block = document->begin(); block.isValid() && !heading.isValid();
             block = block.next())
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
                if (fragment.fragment().charFormat().anchorNames().contains(entry.topic))
                    heading = block;
        ASSERT_TRUE(heading.isValid()) << entry.topic;
        const int headingTop = qRound(document->documentLayout()->blockBoundingRect(heading).top());
        EXPECT_NEAR(browser->verticalScrollBar()->value(), headingTop, 2) << entry.file << " " << entry.topic;
    }
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

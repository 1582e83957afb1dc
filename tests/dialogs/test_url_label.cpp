// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/UrlLabel.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

// Receives what the link label hands to the desktop, for a scheme of the tests' own.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("tolvartest"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("tolvartest")); }

    QList<QUrl> urls;
    QStringList events; // "clicked" and "opened" in the order they happened

public slots:
    void open(const QUrl& url) {
        urls << url;
        events << QStringLiteral("opened");
    }
};

namespace {

struct LinkFixture : ::testing::Test {
    OpenedUrls opened;
    TUrlLabel label;

    LinkFixture() {
        label.setGeometry(0, 0, 160, 20);
        QObject::connect(&label, &TUrlLabel::clicked, [this] { opened.events << QStringLiteral("clicked"); });
        label.show();
    }

    void click(QPoint at = {5, 5}) { QTest::mouseClick(&label, Qt::LeftButton, {}, at); }

    // Whether any pixel of the label shows exactly the colour (the underline is drawn solid).
    bool showsColour(QColor colour) {
        const QImage shown = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) == colour.rgb())
                    return true;
        return false;
    }
};

TEST_F(LinkFixture, NewLabelIsABlueUnderlinedLinkWithAHand) {
    EXPECT_TRUE(label.URL().isEmpty());
    EXPECT_EQ(label.ActiveColor(), QColor(128, 0, 128));
    EXPECT_EQ(label.fontColor(), QColor(0, 0, 255));
    EXPECT_TRUE(label.font().underline());
    // The drawn hand when it is built in, otherwise the system's pointing hand.
    const Qt::CursorShape shape = label.cursor().shape();
    EXPECT_TRUE(shape == Qt::BitmapCursor || shape == Qt::PointingHandCursor);
}

TEST_F(LinkFixture, LeftButtonShowsTheActiveColourWhileHeld) {
    label.setText(QStringLiteral("Tolvar Games"));
    EXPECT_TRUE(showsColour(QColor(0, 0, 255)));
    QTest::mousePress(&label, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(label.fontColor(), QColor(128, 0, 128));
    EXPECT_TRUE(showsColour(QColor(128, 0, 128)));
    EXPECT_FALSE(showsColour(QColor(0, 0, 255)));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(label.fontColor(), QColor(0, 0, 255));
    EXPECT_TRUE(showsColour(QColor(0, 0, 255)));
}

TEST_F(LinkFixture, ActiveColourCanBeChangedAndTheColourBeforeThePressComesBack) {
    label.setText(QStringLiteral("x"));
    label.setActiveColor(QColor(200, 10, 10));
    QTest::mousePress(&label, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(label.fontColor(), QColor(200, 10, 10));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(label.fontColor(), QColor(0, 0, 255));
}

TEST_F(LinkFixture, OtherButtonsLeaveTheColourAndOpenNothing) {
    label.setText(QStringLiteral("tolvartest:caption"));
    QTest::mousePress(&label, Qt::RightButton, {}, {5, 5});
    EXPECT_EQ(label.fontColor(), QColor(0, 0, 255));
    QTest::mouseRelease(&label, Qt::RightButton, {}, {5, 5});
    QTest::mouseClick(&label, Qt::MiddleButton, {}, {5, 5});
    EXPECT_EQ(label.fontColor(), QColor(0, 0, 255));
    EXPECT_TRUE(opened.urls.isEmpty());
}

TEST_F(LinkFixture, ClickOpensTheUrlAfterTheLabelsOwnClick) {
    label.setText(QStringLiteral("Board seven"));
    label.setURL(QStringLiteral("tolvartest://boards/seven?size=7#start"));
    click();
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls[0], QUrl(QStringLiteral("tolvartest://boards/seven?size=7#start")));
    EXPECT_EQ(opened.events, QStringList({QStringLiteral("clicked"), QStringLiteral("opened")}));
}

TEST_F(LinkFixture, BlankUrlOpensTheCaptionAndBothBlankOpenNothing) {
    label.setText(QStringLiteral("tolvartest:caption"));
    label.setURL(QStringLiteral(" \t\r\n\x01\x7f "));
    click();
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls[0], QUrl(QStringLiteral("tolvartest:caption")));

    label.setText(QStringLiteral("  \x1f"));
    label.setURL(QString());
    click();
    EXPECT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.events.count(QStringLiteral("clicked")), 2); // the label's own click still runs
}

TEST_F(LinkFixture, ReleasingOutsideTheLabelIsNoClickButRestoresTheColour) {
    label.setURL(QStringLiteral("tolvartest:away"));
    QTest::mousePress(&label, Qt::LeftButton, {}, {5, 5});
    QTest::mouseRelease(&label, Qt::LeftButton, {}, {300, 5});
    EXPECT_TRUE(opened.urls.isEmpty());
    EXPECT_EQ(label.fontColor(), QColor(0, 0, 255));
}

TEST_F(LinkFixture, CopyPutsTheCaptionOnTheClipboard) {
    label.setText(QStringLiteral("Tolvar Games"));
    label.setURL(QStringLiteral("tolvartest:elsewhere"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    ASSERT_EQ(label.popupMenu()->actions().size(), 1);
    EXPECT_EQ(label.copyAction()->text(), QStringLiteral("Copy"));
    label.copyAction()->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Tolvar Games"));
    EXPECT_TRUE(opened.urls.isEmpty());
}

TEST_F(LinkFixture, RightClickOpensTheMenuWithItsSingleItem) {
    QContextMenuEvent request(QContextMenuEvent::Mouse, {5, 5}, label.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&label, &request);
    EXPECT_TRUE(label.popupMenu()->isVisible());
    label.popupMenu()->hide();
}

TEST(LinkInAWindow, ClickOnALabelInsideAWindowOpensItsTarget) {
    OpenedUrls opened;
    QWidget window;
    window.resize(200, 100);
    auto* label = new TUrlLabel(&window);
    label->setGeometry(20, 30, 120, 20);
    label->setText(QStringLiteral("tolvartest:inside"));
    window.show();
    QTest::mousePress(label, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(label->fontColor(), QColor(128, 0, 128));
    QTest::mouseRelease(label, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(label->fontColor(), QColor(0, 0, 255));
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls[0], QUrl(QStringLiteral("tolvartest:inside")));
}

TEST(LinkTarget, BlankMeansOnlySpacesAndControlCharacters) {
    EXPECT_TRUE(IsBlank(QString()));
    EXPECT_TRUE(IsBlank(QStringLiteral(" \t\n\x01\x1f\x7f")));
    EXPECT_FALSE(IsBlank(QStringLiteral(" a ")));
    EXPECT_FALSE(IsBlank(QString::fromUtf8("\xc3\xa4"))); // a letter beyond ASCII
    TUrlLabel label;
    label.setText(QStringLiteral(" tolvartest:x "));
    EXPECT_EQ(label.target(), QStringLiteral(" tolvartest:x ")); // opened unchanged
    label.setURL(QStringLiteral("tolvartest:y"));
    EXPECT_EQ(label.target(), QStringLiteral("tolvartest:y"));
}

TEST(LinkTarget, CaptionIsShownAsPlainText) {
    TUrlLabel label;
    label.setText(QStringLiteral("<b>bold</b>"));
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
}

} // namespace

#include "test_url_label.moc"

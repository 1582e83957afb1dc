// SPDX-License-Identifier: GPL-3.0-or-later
// The display platform the game asks for and where a window read from the settings may stand.
#include <gtest/gtest.h>

#include <climits>

#include "app/DisplayPlatform.h"
#include "app/ScreenPlace.h"

using Arguments = std::vector<std::string>;

TEST(DisplayPlatform, X11WhereAnXServerIsThereUnlessThePlayerChose) {
    // A Wayland session with XWayland has both variables; only DISPLAY matters for the choice.
    EXPECT_EQ(PlatformArguments(nullptr, ":0"), (Arguments{"-platform", "xcb;wayland"}));
    EXPECT_EQ(PlatformArguments("", ":1"), (Arguments{"-platform", "xcb;wayland"}));
    EXPECT_EQ(PlatformArguments("wayland", ":0"), Arguments{});
    EXPECT_EQ(PlatformArguments("offscreen", nullptr), Arguments{});
    // Only Wayland there: Qt's own choice.
    EXPECT_EQ(PlatformArguments(nullptr, nullptr), Arguments{});
    EXPECT_EQ(PlatformArguments(nullptr, ""), Arguments{});

    EXPECT_TRUE(WindowPlacesKnown("xcb"));
    EXPECT_TRUE(WindowPlacesKnown("offscreen"));
    EXPECT_FALSE(WindowPlacesKnown("wayland"));
    EXPECT_FALSE(WindowPlacesKnown("wayland-egl"));
}

TEST(ScreenPlace, AWindowWhoseTitleBarCannotBeReachedIsMovedOntoItsScreen) {
    const QVector<QRect> one{QRect(0, 0, 1024, 768)};
    const QSize frame(502, 387);
    // Wherever some of the title bar is on the screen, the place stays.
    EXPECT_EQ(PlaceOnScreens({101, 70}, frame, one), QPoint(101, 70));
    EXPECT_EQ(PlaceOnScreens({0, 0}, frame, one), QPoint(0, 0));
    EXPECT_EQ(PlaceOnScreens({522, 767}, frame, one), QPoint(522, 767));
    EXPECT_EQ(PlaceOnScreens({-200, 100}, frame, one), QPoint(-200, 100));
    EXPECT_EQ(PlaceOnScreens({1023, 100}, frame, one), QPoint(1023, 100));
    // A Wayland decoration's place above the screen; a title bar below it with the frame still on it
    // cannot be, so only above and beside remain.
    EXPECT_EQ(PlaceOnScreens({-3, -30}, frame, one), QPoint(0, 0));
    EXPECT_EQ(PlaceOnScreens({800, -1}, frame, one), QPoint(522, 0));
    // Off every screen: no place, the caller centres the window.
    EXPECT_EQ(PlaceOnScreens({1024, 100}, frame, one), std::nullopt);
    EXPECT_EQ(PlaceOnScreens({-502, 100}, frame, one), std::nullopt);
    EXPECT_EQ(PlaceOnScreens({100, -387}, frame, one), std::nullopt);
    EXPECT_EQ(PlaceOnScreens({INT_MAX, INT_MIN}, frame, one), std::nullopt);
    EXPECT_EQ(PlaceOnScreens({INT_MIN, INT_MIN}, frame, one), std::nullopt);
    EXPECT_EQ(PlaceOnScreens({100, 100}, frame, {}), std::nullopt);
    // A frame larger than the screen keeps its top-left corner on it.
    EXPECT_EQ(PlaceOnScreens({-50, -50}, QSize(2000, 1000), one), QPoint(0, 0));
}

TEST(ScreenPlace, WithTwoScreensTheTitleBarMustLieOnOneOfThem) {
    // A smaller screen left of a larger one, their tops apart.
    const QVector<QRect> two{QRect(0, 100, 800, 600), QRect(800, 0, 1920, 1080)};
    const QSize frame(502, 387);
    EXPECT_EQ(PlaceOnScreens({900, 20}, frame, two), QPoint(900, 20));
    EXPECT_EQ(PlaceOnScreens({500, 300}, frame, two), QPoint(500, 300));
    // Above the smaller screen, beside the larger one's area: onto the screen holding more of the frame.
    EXPECT_EQ(PlaceOnScreens({100, 50}, frame, two), QPoint(100, 100));
    EXPECT_EQ(PlaceOnScreens({600, 60}, QSize(100, 50), two), QPoint(600, 100));
    // Across the seam the title bar reaches onto the larger screen: kept.
    EXPECT_EQ(PlaceOnScreens({500, 50}, frame, two), QPoint(500, 50));
}

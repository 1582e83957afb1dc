// SPDX-License-Identifier: GPL-3.0-or-later
// Answers a modal window from inside its own event loop: the action runs once the window is the
// active modal widget and has been activated (keyboard focus follows activation, which may come a
// little after showing on a busy machine); a window that never appears fails the test instead of
// hanging it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace modal {

inline void WhenShown(const QDialog* expected, std::function<void()> action, int triesLeft = 500) {
    QTimer::singleShot(1, [expected, action, triesLeft] {
        if (QApplication::activeModalWidget() == expected && expected->isVisible() &&
            expected->isActiveWindow()) {
            action();
            return;
        }
        if (triesLeft > 0) {
            WhenShown(expected, action, triesLeft - 1);
            return;
        }
        ADD_FAILURE() << "the modal window did not appear";
        if (QWidget* other = QApplication::activeModalWidget())
            other->close();
    });
}

} // namespace modal

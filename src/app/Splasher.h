// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window shown before anything else: the picture "b0.bmp" for at most three seconds.
#pragma once

#include <QDialog>

class QLabel;
class QTimer;

class TSplash : public QDialog {
    Q_OBJECT
public:
    // A missing or unreadable picture leaves the window blank; the program goes on either way.
    explicit TSplash(const QString& programDir, QWidget* parent = nullptr);

    static constexpr int ShowMilliseconds = 3000;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Click();

    QLabel* Image1;
    QTimer* Timer1;
};

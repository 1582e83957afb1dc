// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Splasher.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "view/PictureFile.h"

TSplash::TSplash(const QString& programDir, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), Image1(new QLabel(this)),
      Timer1(new QTimer(this)) {
    setFixedSize(200, 150);
    Image1->setGeometry(0, 0, 201, 151);
    Image1->setPixmap(QPixmap::fromImage(LoadPictureFile(programDir + "b0.bmp")));
    // A click on the picture reaches the window, so both close it.
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    Timer1->setSingleShot(true);
    Timer1->setInterval(ShowMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &TSplash::Click);
    Timer1->start();
}

void TSplash::mousePressEvent(QMouseEvent*) {
    Click();
}

void TSplash::Click() {
    accept();
}

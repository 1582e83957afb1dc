// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/DialogLook.h"

#include "view/FinePicture.h"
#include "view/Fonts.h"
#include "view/PictureFile.h"

#include <QFrame>
#include <QLabel>

namespace dialoglook {

void SetFixedDialogFrame(QDialog& dialog, int clientWidth, int clientHeight) {
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(clientWidth, clientHeight);
    dialog.setModal(true);
}

QFont SansSerif(bool bold) {
    return ClassicFont(11, bold);
}

QFont Arial(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFrame* MakeBevel(QWidget* parent, const QRect& place) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setLineWidth(1);
    bevel->setGeometry(place);
    return bevel;
}

QLabel* MakeLabel(QWidget* parent, const QRect& place, bool wrapped) {
    auto* label = new QLabel(parent);
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wrapped);
    return label;
}

QPixmap BuiltInPicture(const char* path, qreal ratio) {
    const QString file = QString::fromLatin1(path);
    const QImage picture(file);
    if (ratio <= 1)
        return QPixmap::fromImage(picture);
    return QPixmap::fromImage(PictureForRatio(picture, QImage(fine_picture::NameFor(file)), ratio));
}

QLabel* MakePicture(QWidget* parent, const QRect& place, const char* path) {
    auto* picture = new QLabel(parent);
    picture->setGeometry(place);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(BuiltInPicture(path, picture->devicePixelRatioF()));
    return picture;
}

} // namespace dialoglook

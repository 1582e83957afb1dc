// SPDX-License-Identifier: GPL-3.0-or-later
// The look that the language window, the about box and the editor's introduction share: a fixed
// dialog frame, the classic fonts, lowered bevels, labels and the pictures compiled into the program.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QRect>

class QFrame;
class QLabel;

namespace dialoglook {

// A fixed dialog frame with title bar and close box around a client area of the given size.
void SetFixedDialogFrame(QDialog& dialog, int clientWidth, int clientHeight);

// The classic dialog font, sized in pixels so that the window does not grow with the screen's font size.
QFont SansSerif(bool bold = false);
QFont Arial(int pixelSize, bool bold);

// A lowered one-line box; made before the controls that sit on it, so it stays behind them.
QFrame* MakeBevel(QWidget* parent, const QRect& place);

// A plain-text label at its place, its text at the top left, wrapped at word boundaries when asked.
QLabel* MakeLabel(QWidget* parent, const QRect& place, bool wrapped = false);

// A picture compiled into the program for a screen of `ratio`: above 1 made from the same drawn at
// 2x beside it (fine_picture::NameFor), keeping its logical size; a null pixmap (nothing shown) when
// it is missing.
QPixmap BuiltInPicture(const char* path, qreal ratio = 1);

// A label showing a built-in picture at its place, for the ratio of the screen the window opens
// on; empty when the picture is missing.
QLabel* MakePicture(QWidget* parent, const QRect& place, const char* path);

} // namespace dialoglook

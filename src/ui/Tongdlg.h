// TTongueDlg: the small window that asks for the interface language, and the frame, fonts, bevels
// and pictures that it shares with the about box and the editor's introduction window.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

#include "ui/Texts.h"

class QFrame;
class QLabel;
class QPushButton;

namespace dialoglook {

// A fixed dialog frame with title bar and close box around a client area of the given size.
void SetFixedDialogFrame(QDialog& dialog, int clientWidth, int clientHeight);

// The classic dialog font, sized in pixels so that the window does not grow with the screen's font size.
QFont SansSerif(bool bold = false);
QFont Arial(int pixelSize, bool bold);

// A lowered one-line box; made before the controls that sit on it, so it stays behind them.
QFrame* MakeBevel(QWidget* parent, const QRect& place);

// The text of the pair for the language, as the windows show it.
QString InLanguage(const Bilingual& text, int language);

// A plain-text label at its place, its text at the top left, wrapped at word boundaries when asked.
QLabel* MakeLabel(QWidget* parent, const QRect& place, bool wrapped = false);

// A picture compiled into the program; a null pixmap (nothing shown) when it is missing.
QPixmap BuiltInPicture(const char* path);

// A label showing a built-in picture at its place; empty when the picture is missing.
QLabel* MakePicture(QWidget* parent, const QRect& place, const char* path);

} // namespace dialoglook

class TTongueDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 320;
    static constexpr int ClientHeight = 91;

    explicit TTongueDlg(QWidget* parent = nullptr);

    // Shows the window modally and returns the language chosen: 0 English, 1 German. Closing it with
    // its close box changes nothing, so `current` comes back.
    int chooseLanguage(int current);

    QPushButton* EnglishBtn() const { return m_english; }
    QPushButton* GermanBtn() const { return m_german; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EnglishBtnClick();
    void GermanBtnClick();

    QPushButton* m_english = nullptr;
    QPushButton* m_german = nullptr;
    int m_language = -1;
};

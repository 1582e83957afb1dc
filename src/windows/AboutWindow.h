// SPDX-License-Identifier: GPL-3.0-or-later
// TInfoDialog: the about box with the program's name, version and maker, and the button that
// offers the language choice.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QLabel;
class QPushButton;

// Where the about box goes: centred horizontally over the main window's outer rectangle and
// vertically over its client area; the divisions truncate toward zero.
QPoint PlaceAboutBox(const QRect& mainOuter, int mainClientHeight, QSize ownOuter);

class TInfoDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 309;
    static constexpr int ClientHeight = 334;

    explicit TInfoDialog(QWidget* parent = nullptr);

    // Places the box over `mainWindow` (when given), sets the texts of `language` and shows it
    // modally; returns the modal result.
    int showFor(int language, const QWidget* mainWindow);

    // The language-dependent texts: the caption, the language button and the maker's lines.
    void setLanguage(int language);

    QPushButton* TongBtn() const { return m_tong; }
    QPushButton* OKBtn() const { return m_ok; }
    QLabel* progname() const { return m_progname; }
    QLabel* version() const { return m_version; }
    QLabel* Image1() const { return m_title; }
    QLabel* Image4() const { return m_icon; }

signals:
    // The language button was pressed. The owner shows the language window, then calls
    // setLanguage with the result and refreshes its own texts; the about box stays open.
    void TongBtnClicked();

private:
    void makeMakerBlock();
    QSize outerSizeBeside(const QWidget& mainWindow) const;

    QLabel* m_title = nullptr;
    QLabel* m_progname = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_kind = nullptr;
    QLabel* m_maker = nullptr;
    QLabel* m_made = nullptr;
    QLabel* m_contactHead = nullptr;
    QLabel* m_contact = nullptr;
    QPushButton* m_tong = nullptr;
    QPushButton* m_ok = nullptr;
};

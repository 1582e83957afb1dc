// SPDX-License-Identifier: GPL-3.0-or-later
// TEditInfoDlg: the greeting shown each time the editor opens, until the player ticks the box that
// asks not to see it again.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class QCheckBox;
class QLabel;
class QPushButton;
class TFigureBox;

// Where the window goes: like the message windows, centred by its client size over the main
// window's outer rectangle; the divisions truncate toward zero.
QPoint PlaceIntro(const QRect& mainOuter, QSize client);

class TEditInfoDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 415;
    static constexpr int ClientHeight = 296;

    // `atlas` is the sprite atlas b5.bmp; figure 0 and the shared mask are taken from it.
    explicit TEditInfoDlg(const QImage& atlas = {}, QWidget* parent = nullptr);

    // As the message windows do: on a screen of a higher pixel ratio the figure is drawn at
    // fineScale() device pixels for each of its pixels, from `fineAtlas`, the atlas at that scale
    // (LoadFinePicture of b5.bmp); without it, or at another scale, from what it has scaled smoothly.
    void setAtlas(const QImage& atlas, const QImage& fineAtlas = {});
    int fineScale() const { return m_fineScale; }

    // Places the window over `mainWindow` (when given), sets the texts of `language`, clears the
    // check box and shows the window modally. Returns whether the introduction is still wanted:
    // false once the player left the box ticked, however the window was closed.
    bool showFor(int language, const QWidget* mainWindow);

    // Whether the box asking not to show the window again is ticked.
    bool NomoreTicked() const;

    QLabel* l1() const { return m_l1; }
    QLabel* l2() const { return m_l2; }
    QLabel* l3() const { return m_l3; }
    QCheckBox* NomoreCheck() const { return m_nomore; }
    QPushButton* OKBtn() const { return m_ok; }
    QWidget* box() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setLanguage(int language);

    TFigureBox* m_box = nullptr;
    QLabel* m_l1 = nullptr;
    QLabel* m_l2 = nullptr;
    QLabel* m_l3 = nullptr;
    QLabel* m_contact1 = nullptr;
    QLabel* m_contact2 = nullptr;
    QCheckBox* m_nomore = nullptr;
    QPushButton* m_ok = nullptr;
    int m_fineScale = 1;
};

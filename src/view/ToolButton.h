// SPDX-License-Identifier: GPL-3.0-or-later
// TStyleSpeedButton: the flat tool button of the tool panel and the editor window. A speed button
// with a glyph strip, toggle groups and, in the bsWin97 style, a frame that only shows while the
// pointer is over the button or the button is being pressed.
// Its accessible name is its hint, in the language the hint is in: a glyph is all it shows.
#pragma once

#include "view/Pictures.h"

#include <QImage>
#include <QToolButton>

enum TStyleSpeedButtonStyle { bsAutoDetect, bsWin31, bsWin95, bsWin97 };

// The states of a speed button; the order is also the order of the glyphs in a strip.
enum class TButtonState { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3 };

// Which glyph of a strip of `glyphCount` a state shows: a state without its own glyph shows the
// first one.
int GlyphIndexFor(TButtonState state, int glyphCount);

class TStyleSpeedButton : public QToolButton {
    Q_OBJECT
public:
    explicit TStyleSpeedButton(QWidget* parent = nullptr);

    TStyleSpeedButtonStyle Style() const { return m_style; }
    void setStyle(TStyleSpeedButtonStyle style);
    using QToolButton::setStyle; // the widget style (QStyle) stays reachable

    // A strip of glyphs side by side. `glyphCount` 0 takes as many square glyphs as fit (the
    // platform's rule), at most 4. A picture without alpha channel is transparent wherever it has
    // the colour of its bottom-left pixel.
    void setGlyph(const QImage& strip, int glyphCount = 0);
    // A strip of the program's pictures, with the same drawn at the fine scale for screens of a
    // higher pixel ratio.
    void setGlyph(const pictures::GlyphStrip& strip);
    int NumGlyphs() const { return m_glyphCount; }

    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int groupIndex);
    bool AllowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool allowAllUp);
    bool Down() const { return m_down; }
    // Only a grouped button can be down; going down releases the others of its group (same
    // parent, same group index); a down button of a group that may not be all up stays down.
    void setDown(bool down);

    // The click a mouse makes, for the keyboard's shortcuts: a grouped button toggles, then the click
    // is reported. Nothing while the button is disabled.
    void clickAsMouse();

    TButtonState state() const;
    bool pointerInside() const { return m_mouseInControl; }
    QSize sizeHint() const override { return {22, 23}; }

signals:
    // Every mouse button, before any click; PegBtn acts on this rather than on the click.
    void mouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    // A click that does not come from the mouse (assistive technology pressing the button) toggles a
    // grouped button as the mouse's click does.
    void nextCheckState() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The glyph of a state for the screen's pixel ratio, its device pixel ratio set: the fine strip
    // at its own scale, else the strip scaled smoothly to the device pixels.
    QImage glyphFor(TButtonState state, qreal ratio) const;
    void drawFrame(QPainter& painter, TButtonState state) const;
    void releaseOthersOfGroup();
    // Assistive technology reads a grouped button as a toggle, down as checked.
    void showDownAsChecked();

    TStyleSpeedButtonStyle m_style = bsAutoDetect;
    bool m_mouseInControl = false;
    QImage m_strip;
    QImage m_fineStrip; // the strip at pictures::FineScale, or none
    int m_glyphCount = 1;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    bool m_down = false;
    bool m_pressing = false;
    bool m_pressedInside = false;
};

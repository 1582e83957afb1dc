// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ToolButton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QSignalBlocker>

#include "view/PictureFile.h"

namespace {

constexpr int MaxGlyphs = 4;

int sign(int value) {
    return (value > 0) - (value < 0);
}

// Pixels from `from` towards `to` along a row or a column, `to` itself not drawn.
void drawRun(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    const QPoint step(sign(to.x() - from.x()), sign(to.y() - from.y()));
    for (QPoint point = from; point != to; point += step)
        painter.fillRect(point.x(), point.y(), 1, 1, colour);
}

// A frame line through three points, the last point not drawn.
void drawFrameLine(QPainter& painter, QPoint a, QPoint b, QPoint c, const QColor& colour) {
    drawRun(painter, a, b, colour);
    drawRun(painter, b, c, colour);
}

// A glyph picture without an alpha channel is transparent where it has the colour of the strip's
// bottom-left pixel, the platform's rule for button glyphs.
QImage withTransparency(const QImage& strip) {
    if (strip.isNull() || strip.hasAlphaChannel())
        return strip.convertToFormat(QImage::Format_ARGB32);
    QImage result = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == transparent)
                line[x] = 0;
        }
    }
    return result;
}

// A glyph pixel belongs to the symbol from this opacity on; the generated disabled glyphs use the same
// limit, so every disabled symbol keeps the shape of its enabled one.
constexpr int SymbolAlpha = 96;

// The look of a disabled button that has no glyph of its own for it: the glyph's whole shape etched
// into the face, a light copy one pixel down and right under a grey one.
QImage etched(const QImage& glyph, const QColor& light, const QColor& grey) {
    QImage result(glyph.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (qAlpha(glyph.pixel(x, y)) >= SymbolAlpha && x + 1 < glyph.width() && y + 1 < glyph.height())
                result.setPixel(x + 1, y + 1, light.rgba());
        }
    }
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (qAlpha(glyph.pixel(x, y)) >= SymbolAlpha)
                result.setPixel(x, y, grey.rgba());
        }
    }
    return result;
}

} // namespace

int GlyphIndexFor(TButtonState state, int glyphCount) {
    const int index = static_cast<int>(state);
    return index < glyphCount ? index : 0;
}

TStyleSpeedButton::TStyleSpeedButton(QWidget* parent) : QToolButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 22, 23);
}

void TStyleSpeedButton::setStyle(TStyleSpeedButtonStyle style) {
    if (style == m_style)
        return;
    m_style = style;
    repaint();
}

void TStyleSpeedButton::setGlyph(const QImage& strip, int glyphCount) {
    m_strip = withTransparency(strip);
    m_fineStrip = QImage();
    if (glyphCount <= 0) {
        const bool squares = !strip.isNull() && strip.width() % strip.height() == 0;
        glyphCount = squares ? strip.width() / strip.height() : 1;
    }
    m_glyphCount = qBound(1, glyphCount, MaxGlyphs);
    update();
}

void TStyleSpeedButton::setGlyph(const pictures::GlyphStrip& strip) {
    const QImage coarse(QString::fromLatin1(strip.path));
    setGlyph(coarse, strip.count);
    const QImage fine(pictures::FineGlyphPath(strip));
    if (DrawnFor(fine, coarse))
        m_fineStrip = withTransparency(fine);
    update();
}

void TStyleSpeedButton::setGroupIndex(int groupIndex) {
    if (groupIndex == m_groupIndex)
        return;
    m_groupIndex = groupIndex;
    if (m_groupIndex == 0)
        m_down = false;
    showDownAsChecked();
    update();
}

// The whole group shares one AllowAllUp.
void TStyleSpeedButton::setAllowAllUp(bool allowAllUp) {
    m_allowAllUp = allowAllUp;
    if (m_groupIndex == 0 || !parentWidget())
        return;
    for (auto* other : parentWidget()->findChildren<TStyleSpeedButton*>(Qt::FindDirectChildrenOnly)) {
        if (other->m_groupIndex == m_groupIndex)
            other->m_allowAllUp = allowAllUp;
    }
}

void TStyleSpeedButton::setDown(bool down) {
    if (m_groupIndex == 0)
        down = false;
    if (down == m_down)
        return;
    if (m_down && !m_allowAllUp)
        return;
    m_down = down;
    if (m_down)
        releaseOthersOfGroup();
    showDownAsChecked();
    repaint();
}

void TStyleSpeedButton::releaseOthersOfGroup() {
    if (!parentWidget())
        return;
    for (auto* other : parentWidget()->findChildren<TStyleSpeedButton*>(Qt::FindDirectChildrenOnly)) {
        if (other != this && other->m_groupIndex == m_groupIndex && other->m_down) {
            other->m_down = false;
            other->showDownAsChecked();
            other->update();
        }
    }
}

// A button that is already down stays in its held-down state while it is pressed again; only an
// up button shows the pressed state, and only while the pointer is on it.
TButtonState TStyleSpeedButton::state() const {
    if (!isEnabled())
        return TButtonState::bsDisabled;
    if (m_down)
        return TButtonState::bsExclusive;
    if (m_pressing && m_pressedInside)
        return TButtonState::bsDown;
    return TButtonState::bsUp;
}

QImage TStyleSpeedButton::glyphFor(TButtonState state, qreal ratio) const {
    if (m_strip.isNull())
        return {};
    const bool fine = ratio > 1 && !m_fineStrip.isNull();
    const QImage& strip = fine ? m_fineStrip : m_strip;
    const int scale = fine ? pictures::FineScale : 1;
    const int glyphWidth = strip.width() / m_glyphCount;
    const int index = GlyphIndexFor(state, m_glyphCount);
    QImage glyph = strip.copy(index * glyphWidth, 0, glyphWidth, strip.height());
    if (state == TButtonState::bsDisabled && index == 0)
        // The grey is taken from the face itself: the palette's own dark colour can lie so close to a
        // face the window set that the symbol vanishes and only its light edge shows.
        glyph =
            etched(glyph, palette().color(QPalette::Light), palette().color(QPalette::Button).darker(150));
    if (ratio != scale) {
        const QSize logical = glyph.size() / scale;
        glyph =
            glyph.scaled((QSizeF(logical) * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        glyph.setDevicePixelRatio(glyph.width() / qreal(logical.width()));
    } else {
        glyph.setDevicePixelRatio(scale);
    }
    return glyph;
}

void TStyleSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TButtonState current = state();
    painter.fillRect(rect(), palette().color(QPalette::Button));

    const bool sunk = current == TButtonState::bsDown || current == TButtonState::bsExclusive;
    const int shift = sunk ? 1 : 0;
    // The ratio of the pixels painted on: the screen's, or a picture's the button is rendered into.
    const QImage glyph = glyphFor(current, painter.paintEngine()->paintDevice()->devicePixelRatioF());
    if (!glyph.isNull()) {
        const QSize size = glyph.deviceIndependentSize().toSize();
        const int x = (width() - size.width() + 1) / 2 + shift;
        const int y = (height() - size.height() + 1) / 2 + shift;
        painter.drawImage(QPoint(x, y), glyph);
    } else if (!text().isEmpty()) {
        painter.setPen(
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(rect().translated(shift, shift), Qt::AlignCenter, text());
    }
    drawFrame(painter, current);
}

void TStyleSpeedButton::drawFrame(QPainter& painter, TButtonState current) const {
    const QColor highlight = palette().color(QPalette::Light);
    const QColor face = palette().color(QPalette::Button);
    const QColor shadow = palette().color(QPalette::Dark);

    bool raised = false;
    bool sunken = false;
    if (m_style == bsWin97) {
        raised = current == TButtonState::bsUp && m_mouseInControl;
        sunken =
            current == TButtonState::bsDown || (current == TButtonState::bsExclusive && m_mouseInControl);
    } else {
        // The other styles keep the classic frame that is always visible.
        sunken = current == TButtonState::bsDown || current == TButtonState::bsExclusive;
        raised = !sunken;
    }
    const QColor outerUpperLeft = raised ? highlight : sunken ? shadow : face;
    const QColor outerLowerRight = raised ? shadow : sunken ? highlight : face;

    const int w = width();
    const int h = height();
    drawFrameLine(painter, {0, h - 2}, {0, 0}, {w - 1, 0}, outerUpperLeft);
    drawFrameLine(painter, {1, h - 2}, {1, 1}, {w - 1, 1}, face);
    drawFrameLine(painter, {1, h - 2}, {w - 2, h - 2}, {w - 2, 0}, face);
    drawFrameLine(painter, {0, h - 1}, {w - 1, h - 1}, {w - 1, -1}, outerLowerRight);
}

void TStyleSpeedButton::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    if (event->button() != Qt::LeftButton)
        return;
    m_pressing = true;
    m_pressedInside = true;
    repaint();
}

void TStyleSpeedButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressing)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside == m_pressedInside)
        return;
    m_pressedInside = inside;
    repaint();
}

// A grouped button toggles on a click; a push button just comes back up. The click is reported
// either way, also when a group that may not be all up keeps the button down.
void TStyleSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressing)
        return;
    m_pressing = false;
    if (rect().contains(event->position().toPoint())) {
        clickAsMouse();
        return;
    }
    repaint();
}

void TStyleSpeedButton::clickAsMouse() {
    if (!isEnabled())
        return;
    if (m_groupIndex != 0)
        setDown(!m_down);
    repaint();
    emit clicked(m_down);
}

void TStyleSpeedButton::enterEvent(QEnterEvent* event) {
    m_mouseInControl = true;
    if (isEnabled() && m_style == bsWin97)
        repaint();
    QToolButton::enterEvent(event);
}

void TStyleSpeedButton::leaveEvent(QEvent* event) {
    m_mouseInControl = false;
    if (isEnabled() && m_style == bsWin97)
        repaint();
    QToolButton::leaveEvent(event);
}

// The checked state is only the down state told to assistive technology: no signal of it reaches the
// game, which follows `clicked`.
void TStyleSpeedButton::showDownAsChecked() {
    const QSignalBlocker quiet(this);
    setCheckable(m_groupIndex != 0);
    setChecked(m_down);
}

void TStyleSpeedButton::nextCheckState() {
    if (m_groupIndex != 0)
        setDown(!m_down);
}

bool TStyleSpeedButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTipChange)
        setAccessibleName(toolTip());
    return QToolButton::event(event);
}

void TStyleSpeedButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QToolButton::changeEvent(event);
}

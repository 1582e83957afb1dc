// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/UrlLabel.h"

#include "session/Texts.h"
#include "view/Pictures.h"
#include "view/QtText.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>

namespace {

// The hand drawn for the program; the system's pointing hand when that picture is missing.
QCursor HandCursor() {
    const QPixmap hand(QString::fromLatin1(pictures::HandCursor));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, pictures::HandHotspotX, pictures::HandHotspotY);
}

// Spaces and every control character, as the trimming of a blank target counts them.
bool IsTrimmed(QChar ch) {
    return ch.unicode() <= 0x20 || ch.category() == QChar::Other_Control;
}

} // namespace

bool IsBlank(const QString& text) {
    for (const QChar ch : text)
        if (!IsTrimmed(ch))
            return false;
    return true;
}

TUrlLabel::TUrlLabel(QWidget* parent) : QLabel(parent) {
    // The caption is shown as it stands; markup in it is text, not formatting.
    setTextFormat(Qt::PlainText);
    setCursor(HandCursor());
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setFontColor(QColor(0, 0, 255));

    m_menu = new QMenu(this);
    m_copy = m_menu->addAction(toQString(CopyCaption));
    connect(m_copy, &QAction::triggered, this, &TUrlLabel::copyCaption);
}

QString TUrlLabel::target() const {
    if (!IsBlank(m_url))
        return m_url;
    if (!IsBlank(text()))
        return text();
    return {};
}

QColor TUrlLabel::fontColor() const {
    return palette().color(QPalette::WindowText);
}

void TUrlLabel::setFontColor(QColor colour) {
    QPalette coloured = palette();
    coloured.setColor(QPalette::WindowText, colour);
    setPalette(coloured);
}

void TUrlLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    // Taken here rather than passed on to the window, so that the release comes back to the label.
    event->accept();
    m_savedColor = fontColor();
    setFontColor(m_activeColor);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_savedColor.isValid()) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    setFontColor(m_savedColor);
    m_savedColor = QColor();
    // A click is a release over the label of a press that began on it.
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
        openTarget();
    }
}

void TUrlLabel::contextMenuEvent(QContextMenuEvent* event) {
    m_menu->popup(event->globalPos());
}

void TUrlLabel::openTarget() const {
    const QString where = target();
    if (!where.isEmpty())
        QDesktopServices::openUrl(QUrl(where));
}

void TUrlLabel::copyCaption() const {
    QGuiApplication::clipboard()->setText(text());
}

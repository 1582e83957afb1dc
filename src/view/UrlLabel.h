// SPDX-License-Identifier: GPL-3.0-or-later
// TUrlLabel: a label that behaves like a link. Blue and underlined, the hand pointer over it, the
// active colour while the left button is held, a click opens its target with the desktop, and a
// context menu copies its caption.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

class QAction;
class QMenu;

class TUrlLabel : public QLabel {
    Q_OBJECT
public:
    explicit TUrlLabel(QWidget* parent = nullptr);

    QString URL() const { return m_url; }
    void setURL(const QString& url) { m_url = url; }
    QColor ActiveColor() const { return m_activeColor; }
    void setActiveColor(QColor colour) { m_activeColor = colour; }

    // What a click opens: the URL unless it is blank, otherwise the caption; empty when both are blank.
    QString target() const;

    QColor fontColor() const;
    QMenu* popupMenu() const { return m_menu; }
    QAction* copyAction() const { return m_copy; }

signals:
    // The label's own click event; it runs before the target is opened.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void setFontColor(QColor colour);
    void openTarget() const;
    void copyCaption() const;

    QString m_url;
    QColor m_activeColor{128, 0, 128};
    QColor m_savedColor;
    QMenu* m_menu = nullptr;
    QAction* m_copy = nullptr;
};

// Blank means nothing is left once spaces and control characters are cut from both ends.
bool IsBlank(const QString& text);

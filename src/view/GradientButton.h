// SPDX-License-Identifier: GPL-3.0-or-later
// TGradButton: the gradient button of the message windows. A window-less looking button that
// paints a vertical colour gradient inside a black border, with an optional bevel and a caption.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

// Multiply and divide with rounding to the nearest integer, halves away from zero; a zero divisor
// gives -1, as the platform's MulDiv does.
int MulDiv(int number, int numerator, int denominator);

// Fills the whole picture with 256 horizontal bands from `top` (band 0) to `bottom` (band 255);
// band k covers the rows MulDiv(k, H, 256) up to MulDiv(k + 1, H, 256), exclusive.
void FillGradient(QImage& picture, QColor top, QColor bottom);

class TGradButton : public QWidget {
    Q_OBJECT
public:
    explicit TGradButton(QWidget* parent = nullptr);

    QColor GradColor() const { return m_gradColor; }
    QColor FaceColor() const { return m_faceColor; }
    QColor HighlightColor() const { return m_highlightColor; }
    QColor ShadowColor() const { return m_shadowColor; }
    int BevelWidth() const { return m_bevelWidth; }
    int BorderWidth() const { return m_borderWidth; }
    QString Caption() const { return m_caption; }
    QColor FontColor() const { return m_fontColor; }
    // The caption is drawn without a background of its own: no window of the game asks for another.
    bool Transparent() const { return true; }
    bool isPressed() const { return m_pressed; }

    // GradColor and FaceColor refill the gradient picture; the others only repaint. Setting a
    // property to the value it already has does nothing.
    void setGradColor(QColor colour);
    void setFaceColor(QColor colour);
    void setHighlightColor(QColor colour);
    void setShadowColor(QColor colour);
    void setBevelWidth(int width);
    void setBorderWidth(int width);
    void setCaption(const QString& caption);
    void setFontColor(QColor colour);

    QSize sizeHint() const override { return {100, 30}; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refillGradient();
    void drawBevel(QPainter& painter, const QRect& inner, QColor upperLeft, QColor lowerRight) const;
    void setPressed(bool pressed);

    QColor m_gradColor{0, 0, 255};
    QColor m_faceColor{0, 0, 0};
    QColor m_highlightColor{255, 255, 255};
    QColor m_shadowColor{0, 0, 0};
    int m_bevelWidth = 1;
    int m_borderWidth = 1;
    QString m_caption = QStringLiteral("TGradButton");
    QColor m_fontColor{255, 255, 255};
    bool m_pressed = false;
    bool m_tracking = false;
    QImage m_gradient;
};

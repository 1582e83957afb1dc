// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/StatusPanel.h"

#include "view/Fonts.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "view/PictureFile.h"
#include "view/Raster.h"

using namespace numbs_layout;

namespace {

// Positions inside the panel, whose corner lies at (180, 4) of the tool panel.
constexpr QPoint PanelOrigin{180, 4};
constexpr QRect PanelRect{PanelOrigin, QSize(159, 26)};
constexpr QRect BevelRect{1, 0, 158, 26};
constexpr QRect TimRect{0, 1, 157, 24};
constexpr QRect MovesLabelRect{4, 6, 37, 16};
constexpr QRect TimboxRect{44, 3, TimboxWidth, TimboxHeight};
constexpr QRect MovshapeRect{36, 0, 45, 25};
constexpr QRect DiagShapeRect{80, 0, 25, 25};
constexpr QRect OrigShapeRect{104, 0, 21, 25};
constexpr QRect SolvShapeRect{124, 0, 17, 25};

constexpr int LargestShown = 99;

void copyPiece(QImage& timbox, int x, const QImage& numbs, int sourceX, int width, int scale) {
    raster::Copy(timbox, x * scale, 0, numbs, sourceX * scale, 0, width * scale, Height * scale);
}

// The paint box that shows the numbers; it draws from the panel's current values every time.
class TimBox : public QWidget {
public:
    TimBox(const StatusPanel& panel, QWidget* parent) : QWidget(parent), m_panel(panel) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override { // timboxPaint
        const int scale = m_panel.fineScale();
        const QImage& numbs = scale > 1 ? m_panel.fineNumbs() : m_panel.numbs();
        QImage picture = raster::MakePicture(TimboxWidth * scale, TimboxHeight * scale);
        DrawMovesDisplay(picture, numbs, m_panel.values(), scale);
        picture.setDevicePixelRatio(scale);
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(0, 0, picture);
    }

private:
    const StatusPanel& m_panel;
};

// An invisible area that exists only to carry a hint.
QWidget* makeHintShape(QWidget* parent, const QRect& rect) {
    auto* shape = new QWidget(parent);
    shape->setGeometry(rect);
    return shape;
}

} // namespace

void DrawMovesDisplay(QImage& timbox, const QImage& numbs, const StatusValues& values, int scale) {
    const int difference = int(values.Par) - int(values.MoveCount);
    const bool over = difference < 0;
    const int shown = std::min(std::abs(difference), LargestShown);
    const int tens = shown / 10;
    const int units = shown % 10;
    copyPiece(timbox, 0, numbs, over && tens > 0 ? Minus : Blank, DigitWidth, scale);
    copyPiece(timbox, 12, numbs, tens > 0 ? DigitWidth * tens : (over ? Minus : Blank), DigitWidth, scale);
    copyPiece(timbox, 24, numbs, DigitWidth * units, DigitWidth, scale);
    copyPiece(timbox, 38, numbs, values.Diagonal != 0 ? Arrows : Blank, 20, scale);
    copyPiece(timbox, 62, numbs, values.Original ? Padlock : BlankBesidePadlock, 13, scale);
    copyPiece(timbox, 80, numbs, values.Solved ? SmilingFace : WorriedFace, 12, scale);
}

StatusPanel::StatusPanel(const QImage& numbs, QWidget* parent) : StatusPanel(numbs, QImage(), parent) {}

StatusPanel::StatusPanel(const QImage& numbs, const QImage& fineNumbs, QWidget* parent)
    : QWidget(parent), m_numbs(numbs.depth() == 32 ? numbs : numbs.convertToFormat(QImage::Format_RGB32)) {
    setGeometry(PanelRect);
    m_fineScale = FineScaleFor(devicePixelRatioF());
    if (m_fineScale > 1) {
        const QSize size = m_numbs.size() * m_fineScale;
        const QImage& from = fineNumbs.isNull() ? m_numbs : fineNumbs;
        m_fineNumbs =
            (from.size() == size ? from : from.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
                .convertToFormat(QImage::Format_RGB32);
    }

    m_movesLabel = new QLabel(this);
    m_movesLabel->setGeometry(MovesLabelRect);
    QFont font = ClassicFont(12);
    m_movesLabel->setFont(font);
    QPalette lime = m_movesLabel->palette();
    lime.setColor(QPalette::WindowText, QColor(0, 255, 0));
    m_movesLabel->setPalette(lime);

    m_timbox = new TimBox(*this, this);
    m_timbox->setGeometry(TimboxRect);

    m_movshape = makeHintShape(this, MovshapeRect);
    m_diagShape = makeHintShape(this, DiagShapeRect);
    m_origShape = makeHintShape(this, OrigShapeRect);
    m_solvShape = makeHintShape(this, SolvShapeRect);
}

void StatusPanel::setSource(std::function<StatusValues()> source) {
    m_source = std::move(source);
}

StatusValues StatusPanel::values() const {
    return m_source ? m_source() : StatusValues{};
}

// Told as the display shows it: the caption, then the moves left before the par, or how many past it.
QString MovesShownText(const QString& caption, const StatusValues& values) {
    const int difference = int(values.Par) - int(values.MoveCount);
    const int shown = std::min(std::abs(difference), LargestShown);
    return caption + QLatin1Char(' ') + QString::number(difference < 0 ? -shown : shown);
}

void StatusPanel::movesboxPaint() {
    m_timbox->setAccessibleName(MovesShownText(m_movesLabel->text(), values()));
    m_timbox->repaint();
}

void StatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Bevel1, lowered: shadow on the top and left edges, light on the bottom and right. Its edges are
    // its outermost pixels (right() and bottom() of the rectangle); `tim` then covers the left one.
    const QRect bevel = BevelRect;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(bevel.topLeft(), bevel.topRight());
    painter.drawLine(bevel.topLeft(), bevel.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(bevel.bottomLeft(), bevel.bottomRight());
    painter.drawLine(bevel.topRight(), bevel.bottomRight());
    painter.fillRect(TimRect, Qt::black);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScreenPlace.h"

#include <algorithm>
#include <cstdint>

namespace {

struct Span {
    std::int64_t from;
    std::int64_t to; // one past the end
};

std::int64_t Overlap(Span a, Span b) {
    return std::max<std::int64_t>(0, std::min(a.to, b.to) - std::max(a.from, b.from));
}

Span Columns(const QRect& area) {
    return {area.x(), std::int64_t{area.x()} + area.width()};
}
Span Rows(const QRect& area) {
    return {area.y(), std::int64_t{area.y()} + area.height()};
}

// Whether some of the frame's top edge, the row its title bar begins on, lies on the screen.
bool TopEdgeOn(const QRect& area, Span columns, std::int64_t top) {
    const Span rows = Rows(area);
    return top >= rows.from && top < rows.to && Overlap(columns, Columns(area)) > 0;
}

// Moves a span into `area` as far as needed; a span longer than the area starts where the area does.
std::int64_t MovedInto(Span span, Span area) {
    if (span.to > area.to)
        span.from -= span.to - area.to;
    return std::max(span.from, area.from);
}

} // namespace

std::optional<QPoint> PlaceOnScreens(QPoint topLeft, QSize frameSize, const QVector<QRect>& screens) {
    const Span columns{topLeft.x(), std::int64_t{topLeft.x()} + std::max(1, frameSize.width())};
    const Span rows{topLeft.y(), std::int64_t{topLeft.y()} + std::max(1, frameSize.height())};
    for (const QRect& area : screens)
        if (TopEdgeOn(area, columns, rows.from))
            return topLeft;
    const QRect* best = nullptr;
    std::int64_t bestOverlap = 0;
    for (const QRect& area : screens) {
        const std::int64_t overlap = Overlap(columns, Columns(area)) * Overlap(rows, Rows(area));
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &area;
        }
    }
    if (best == nullptr)
        return std::nullopt;
    return QPoint(static_cast<int>(MovedInto(columns, Columns(*best))),
                  static_cast<int>(MovedInto(rows, Rows(*best))));
}

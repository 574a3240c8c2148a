#include "painter/PageInk.h"

#include "painter/PainterSurface.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimbrel {

namespace {

// How many of a pen's lines, the ones used last, a segment may continue: the spans, the
// conversion and base lines take turns segment by segment, with the candles' lines and bits of
// the cloud between them.
constexpr int kOpenLines = 8;

// Path elements written to the page at a time: a part the PDF engine spells out in memory that
// stays small.
constexpr int kPathPart = 8192;

// Ends of segments closer than this, in dots, are one point: the chart works out where a
// segment ends and where the next starts each on its own.
constexpr double kSameEnd = 1e-6;

// How far an edge of a segment may move to put its ends on dots, and how far past two segments
// drawn apart the corner that joins them may reach, in dots: together no more than a dot.
constexpr double kPlacement = 0.75;
constexpr double kCornerReach = 0.25;

// The pattern of a dashed or dotted pen, in pen widths: a dash, then a gap.
struct Dashes {
    double dash, period;
};

Dashes dashesOf(PenStyle style) {
    static const auto of = [](PenStyle style) {
        const QList<qreal> pattern = devicePen({}, 1, style).dashPattern();
        return Dashes{pattern.value(0), pattern.value(0) + pattern.value(1)};
    };
    static const Dashes dotted = of(PenStyle::Dotted), dashed = of(PenStyle::Dashed);
    return style == PenStyle::Dotted ? dotted : dashed;
}

// Whether lines of these two lengths end in the same dash, or in the same gap, of the pattern:
// otherwise one has a sliver of a dash more at its end, which a printer inks a dot wide at
// least.
bool endInSameDash(double one, double other, Dashes dashes, int width) {
    const double dash = dashes.dash * width, period = dashes.period * width;
    const double begun = std::ceil(one / period);
    if (std::ceil(other / period) != begun) return false;
    return (one - (begun - 1) * period <= dash) == (other - (begun - 1) * period <= dash);
}

double length(QPointF vector) {
    return std::sqrt(vector.x() * vector.x() + vector.y() * vector.y());
}

QPointF onDot(QPointF point) {
    return QPointF(std::round(point.x()), std::round(point.y()));
}

// The dots a box covers along one side: its edges on the nearest dots, and one dot at least
// for a box narrower than that (a candle's body at thousands of days to the sheet), which would
// otherwise vanish. No edge moves by more than a dot.
std::pair<double, double> dotSpan(double from, double to) {
    const double low = std::min(from, to), high = std::max(from, to);
    const double first = std::round(low), last = std::round(high);
    if (first != last || low == high) return {first, last};
    const double start = std::round((low + high) / 2 - 0.5);
    return {start, start + 1};
}

QRectF onDots(const QRectF& rect) {
    const auto [left, right] = dotSpan(rect.left(), rect.right());
    const auto [top, bottom] = dotSpan(rect.top(), rect.bottom());
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// The PDF joins a line's segments with a bevel, which fills the notch between their flat ends
// on the outer side of the corner: it reaches width / 4 * sin(turn) past them.
bool cornerStaysClose(QPointF a, QPointF b, QPointF c, int width) {
    const QPointF u = b - a, v = c - b;
    const double cross = std::abs(u.x() * v.y() - u.y() * v.x());
    return width / 4.0 * cross <= kCornerReach * length(u) * length(v);
}

// Where a segment drawn from `from` to `to` ends on the page when it starts at `start` (at most
// a dot from `from`): on the nearest dot if its edges stay close, turned with the segment; the
// ends of a wide pen's flat ends move with its direction. Otherwise as drawn, moved as its start.
QPointF placedEnd(QPointF from, QPointF to, QPointF start, int width,
                  const Dashes* dashes = nullptr) {
    const QPointF drawn = to - from;
    const QPointF end = onDot(to), placed = end - start;
    const double drawnLength = length(drawn), placedLength = length(placed);
    if (placedLength > 0) {
        const QPointF turn = placed / placedLength - drawn / drawnLength;
        const double ends = std::max(length(start - from), length(end - to));
        if (ends + width / 2.0 * length(turn) <= kPlacement &&
            (!dashes || endInSameDash(drawnLength, placedLength, *dashes, width)))
            return end;
    }
    return to + (start - from);
}

// A line continues straight on without a new point: the same ink in fewer figures (the spans
// stay level for weeks).
void extend(QPolygonF& line, QPointF end) {
    const QPointF a = line.at(line.size() - 2), b = line.constLast();
    const QPointF u = b - a, v = end - b;
    if (u.x() * v.y() == u.y() * v.x() && u.x() * v.x() + u.y() * v.y() > 0)
        line.last() = end;
    else
        line.append(end);
}

// The ink of an upright or level segment between flat ends; nothing for a slanted one.
QRectF lineInk(QPointF start, QPointF end, int width) {
    const double half = width / 2.0;
    if (start.x() == end.x())
        return QRectF(QPointF(start.x() - half, std::min(start.y(), end.y())),
                      QPointF(start.x() + half, std::max(start.y(), end.y())));
    if (start.y() == end.y())
        return QRectF(QPointF(std::min(start.x(), end.x()), start.y() - half),
                      QPointF(std::max(start.x(), end.x()), start.y() + half));
    return {};
}

} // namespace

void PageInk::gather(Rgb color) {
    if (!empty() && color != color_) paintGathered();
    color_ = color;
}

void PageInk::releaseHeldFill() {
    if (!held_) return;
    const HeldFill held = *held_;
    held_.reset();
    gather(held.color);
    fills_.push_back(held.rect);
}

PageInk::PenInk& PageInk::penInk(int width, PenStyle style) {
    for (PenInk& ink : pens_)
        if (ink.width == width && ink.style == style) return ink;
    return pens_.emplace_back(PenInk{width, style, {}, {}, {}, -1});
}

void PageInk::line(QPointF from, QPointF to, Rgb color, int width, PenStyle style) {
    releaseHeldFill();
    gather(color);
    if (style == PenStyle::Solid || length(to - from) <= dashesOf(style).dash * width) {
        solidLine(from, to, width);
        return;
    }
    const Dashes dashes = dashesOf(style);
    const QPointF start = onDot(from);
    addDone(penInk(width, style), QPolygonF{start, placedEnd(from, to, start, width, &dashes)});
}

void PageInk::solidLine(QPointF from, QPointF to, int width) {
    // Between flat ends a line without length has no ink.
    if (from == to) return;
    PenInk& ink = penInk(width, PenStyle::Solid);
    for (Line& line : ink.latest) {
        if (line.ended || length(line.drawnEnd - from) > kSameEnd) continue;
        const QPointF start = line.points.constLast();
        const QPointF end = placedEnd(from, to, start, width);
        if (!cornerStaysClose(line.points.at(line.points.size() - 2), start, end, width)) continue;
        extend(line.points, end);
        line.drawnEnd = to;
        line.used = ++uses_;
        lastLineInk_ = lineInk(start, end, width);
        return;
    }
    const QPointF start = onDot(from), end = placedEnd(from, to, start, width);
    lastLineInk_ = lineInk(start, end, width);
    if (start.x() == end.x() && ink.upright >= 0) {
        Line& upright = ink.latest[size_t(ink.upright)];
        if (joinUpright(upright, start, end)) {
            upright.used = ++uses_;
            return;
        }
    }
    const std::ptrdiff_t line = startLine(ink, start, end, to);
    if (start.x() == end.x()) ink.upright = line;
}

bool PageInk::joinUpright(Line& line, QPointF start, QPointF end) {
    QPolygonF& points = line.points;
    if (points.size() != 2 || points[0].x() != start.x() || points[1].x() != start.x())
        return false;
    const double top = std::min(points[0].y(), points[1].y());
    const double bottom = std::max(points[0].y(), points[1].y());
    if (std::max(start.y(), end.y()) < top || std::min(start.y(), end.y()) > bottom) return false;
    points = {QPointF(start.x(), std::min({top, start.y(), end.y()})),
              QPointF(start.x(), std::max({bottom, start.y(), end.y()}))};
    line.ended = true;
    return true;
}

std::ptrdiff_t PageInk::startLine(PenInk& ink, QPointF start, QPointF end, QPointF drawnEnd) {
    if (std::ssize(ink.latest) < kOpenLines) {
        ink.latest.push_back(Line{QPolygonF{start, end}, drawnEnd, false, ++uses_});
        return std::ssize(ink.latest) - 1;
    }
    // The line used longest ago is done; its points' room takes the new one.
    const auto oldest =
        std::min_element(ink.latest.begin(), ink.latest.end(),
                         [](const Line& a, const Line& b) { return a.used < b.used; });
    addDone(ink, oldest->points);
    const std::ptrdiff_t place = oldest - ink.latest.begin();
    if (ink.upright == place) ink.upright = -1;
    oldest->points.clear();
    oldest->points << start << end;
    oldest->drawnEnd = drawnEnd;
    oldest->ended = false;
    oldest->used = ++uses_;
    return place;
}

void PageInk::addDone(PenInk& ink, const QPolygonF& line) {
    ink.done.addPolygon(line);
    if (ink.done.elementCount() >= kPathPart) paintDone(ink);
}

void PageInk::paintDone(PenInk& ink) {
    if (ink.done.isEmpty()) return;
    painter_.setPen(devicePen(color_, ink.width, ink.style));
    painter_.drawPath(ink.done);
    ink.done.clear();
}

void PageInk::fill(const QRectF& rect, Rgb color) {
    releaseHeldFill();
    const QRectF onPage = onDots(rect);
    if (!empty() && color != color_) {
        held_ = HeldFill{onPage, color};
        return;
    }
    // A candle's body at thousands of days lies under the line of its high and low.
    if (!empty() && lastLineInk_.contains(onPage)) return;
    gather(color);
    fills_.push_back(onPage);
}

void PageInk::frame(const QRectF& rect, Rgb color, int width, PenStyle style) {
    const QRectF onPage = onDots(rect);
    // The sides, `width` wide about each edge, meet across a box no wider than that.
    if (held_ && held_->rect == onPage && style == PenStyle::Solid &&
        std::min(onPage.width(), onPage.height()) <= width)
        held_.reset();
    releaseHeldFill();
    gather(color);
    penInk(width, style).frames.push_back(onPage);
}

void PageInk::paint() {
    releaseHeldFill();
    paintGathered();
}

void PageInk::paintUnlessAll(Rgb color) {
    // A held fill is of another colour than what is gathered.
    if (held_ || (!empty() && color != color_)) paint();
}

void PageInk::paintGathered() {
    const QColor color(color_.red, color_.green, color_.blue);
    if (!fills_.empty()) {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(color);
        painter_.drawRects(fills_.data(), int(fills_.size()));
        painter_.setBrush(Qt::NoBrush);
        fills_.clear();
    }
    for (PenInk& ink : pens_) {
        for (const Line& line : ink.latest) ink.done.addPolygon(line.points);
        paintDone(ink);
        if (ink.frames.empty()) continue;
        painter_.setPen(devicePen(color_, ink.width, ink.style));
        painter_.drawRects(ink.frames.data(), int(ink.frames.size()));
    }
    pens_.clear();
    lastLineInk_ = {};
}

} // namespace nimbrel

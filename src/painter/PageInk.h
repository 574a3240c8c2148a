#pragma once

#include "render/Surface.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

namespace nimbrel {

// The lines and boxes of a page, painted in as few calls as leave the page the same. On paper a
// chart of thousands of days is some 100 000 strokes, which a PDF would otherwise write one by
// one, each with its pen and colour set anew. No edge moves by more than a dot of the page.
//
// - Ends and corners land on the nearest dot: no printer inks finer, and the PDF writes a whole
//   number in half the figures of one with its five decimals. A segment whose flat ends would turn
//   too far on dots (a short one of a wide pen) keeps its exact length and direction; a box keeps a
//   dot at least.
// - Opaque ink of one colour covers the same dots in whatever order it is laid down: ink of one
//   colour is gathered by pen and painted when ink of another colour comes, or a text, or the
//   end of the page. What overlaps in other colours keeps its order.
// - A solid segment that starts where a line of its pen ended continues that line, where the
//   corner the PDF puts between the two reaches a quarter of a dot past them drawn apart at most.
//   Upright segments on the same dots across that overlap are one.
// - A dashed or dotted segment no longer than its pattern's first dash is inked whole, as a
//   solid one; a longer one stays a line of its own that ends in the same dash as drawn.
// - A filled box under ink of its colour gathered just before, or under the outline drawn next on
//   the same corners, is left out: at thousands of days a candle's body is narrower than a pen.
class PageInk {
public:
    // Coordinates are the painter's device dots.
    explicit PageInk(QPainter& painter) : painter_(painter) {}

    void line(QPointF from, QPointF to, Rgb color, int width, PenStyle style);
    void fill(const QRectF& rect, Rgb color);
    void frame(const QRectF& rect, Rgb color, int width, PenStyle style);

    // Paints all that was gathered: before anything else is painted. The painter is left with
    // another pen and no brush.
    void paint();
    // Paints what was gathered unless it is all ink of this colour, which what comes next in
    // that colour may cover or not alike.
    void paintUnlessAll(Rgb color);

private:
    // A line as it goes onto the page, and where the segments drawn ended: unless it is ended,
    // the next segment that starts there may continue it.
    struct Line {
        QPolygonF points;
        QPointF drawnEnd;
        bool ended = false;
        std::uint64_t used = 0; // when a segment last went onto it
    };

    // What one pen draws: the lines used last, which a segment may continue, the path of the
    // lines before them, and its box outlines.
    struct PenInk {
        int width;
        PenStyle style;
        std::vector<Line> latest;
        QPainterPath done;
        std::vector<QRectF> frames;
        // Which of those lines is one upright segment that the next may join, if any.
        std::ptrdiff_t upright = -1;
    };
    struct HeldFill {
        QRectF rect;
        Rgb color;
    };

    bool empty() const { return fills_.empty() && pens_.empty(); }
    // Ink of this colour comes next: what is gathered in another colour is painted first.
    void gather(Rgb color);
    void releaseHeldFill();
    PenInk& penInk(int width, PenStyle style);
    void solidLine(QPointF from, QPointF to, int width);
    // Two upright segments on the same dots across that meet or overlap are one: the candles'
    // lines at thousands of days, two to a dot. The line no longer ends where a segment was
    // drawn to.
    static bool joinUpright(Line& line, QPointF start, QPointF end);
    // Where among the pen's lines the new one stands.
    std::ptrdiff_t startLine(PenInk& ink, QPointF start, QPointF end, QPointF drawnEnd);
    // Adds a line to the pen's path, which goes onto the page in parts: the PDF engine writes
    // a path whole in memory first.
    void addDone(PenInk& ink, const QPolygonF& line);
    void paintDone(PenInk& ink);
    void paintGathered();

    QPainter& painter_;
    std::uint64_t uses_ = 0;
    Rgb color_;
    std::vector<QRectF> fills_;
    std::vector<PenInk> pens_;
    // The ink of the latest line gathered where it is a plain rectangle: a fill inside it in
    // its colour adds nothing.
    QRectF lastLineInk_;
    // A fill in another colour than what is gathered, kept back for one call: an outline that
    // covers it may come next.
    std::optional<HeldFill> held_;
};

} // namespace nimbrel

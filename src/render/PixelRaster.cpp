#include "render/PixelRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace nimbrel {

namespace {

// Cuts the line to the rectangle [low, high] on both axes (Liang-Barsky); false when nothing of
// it is inside. Keeps far-off points, such as a clamped price, from costing a walk of pixels.
bool clipLine(double& x1, double& y1, double& x2, double& y2, double lowX, double lowY,
              double highX, double highY) {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - lowX, highX - x1, y1 - lowY, highY - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const double startX = x1, startY = y1;
    x1 = startX + t0 * dx;
    y1 = startY + t0 * dy;
    x2 = startX + t1 * dx;
    y2 = startY + t1 * dy;
    return true;
}

// The on-off cycle of a pen, in pixels along the line: dashes of 4 widths and dots of 1, each
// followed by a gap of 2 widths.
struct Dashes {
    int on;
    int period;
    Dashes(DashPattern pattern, int width) {
        const int onUnits = pattern == DashPattern::Dashed ? 4 : 1;
        on = pattern == DashPattern::Solid ? 1 : onUnits * width;
        period = pattern == DashPattern::Solid ? 1 : (onUnits + 2) * width;
    }
};

template <PixelOp Op, typename Pixel> inline void plot(Pixel* pixel, Pixel value) {
    if constexpr (Op == PixelOp::Set)
        *pixel = value;
    else
        *pixel ^= value;
}

// `count` pixels from `first`, `step` apart, each with `across` pixels beside it (`acrossStep`
// apart: a thick pen), the pattern running on from `phase`.
template <PixelOp Op, typename Pixel>
void drawRun(Pixel* first, ptrdiff_t step, int count, ptrdiff_t acrossStep, int across, Pixel color,
             Dashes dashes, int phase) {
    if (across == 1 && dashes.period == 1) {
        for (int i = 0; i < count; ++i, first += step) plot<Op>(first, color);
        return;
    }
    // Each pixel of the cycle that is on, then the ones a cycle after it, and so on: no test
    // per pixel, which tells on the full-height dotted lines of hundreds of date groups. The
    // run is one colour, each pixel written once, so the order does not show.
    for (int on = 0; on < dashes.on; ++on) {
        int i = on - phase;
        if (i < 0) i += dashes.period;
        for (; i < count; i += dashes.period)
            for (int k = 0; k < across; ++k) plot<Op>(first + i * step + k * acrossStep, color);
    }
}

// Rounds down without a call into the maths library; the values are already cut to the image.
int floorToInt(double value) {
    const int truncated = static_cast<int>(value);
    return value < truncated ? truncated - 1 : truncated;
}

// A line cut to the image, in whole pixels, with its pen.
struct PixelLine {
    int px, py, endX, endY;
    bool alongX;  // steps along x, a pixel column of the pen's width each
    int from, to; // the pixels across the line, from its centre
    Dashes dashes;
    int phase; // where the pattern stands at the first pixel
};

// Straight lines, most of the chart (wicks, cloud, grid, and at many days a column nearly
// every segment): cut to the image once, then no test per pixel.
template <PixelOp Op, typename Pixel>
void drawStraight(const PixelTarget<Pixel>& image, const PixelLine& line, Pixel color) {
    const int sx = line.px < line.endX ? 1 : -1, sy = line.py < line.endY ? 1 : -1;
    const int along = line.alongX ? line.px : line.py, end = line.alongX ? line.endX : line.endY;
    const int size = line.alongX ? image.width : image.height;
    const int acrossSize = line.alongX ? image.height : image.width;
    const int step = line.alongX ? sx : sy;
    const int centre = line.alongX ? line.py : line.px;
    if (centre + line.to < 0 || centre + line.from >= acrossSize) return;
    const int acrossFirst = std::max(centre + line.from, 0);
    const int acrossCount = std::min(centre + line.to, acrossSize - 1) - acrossFirst + 1;
    // Steps of the run whose pixel lies within the image, counted from its start.
    const int steps = std::abs(end - along) + 1;
    const int firstStep = std::max(step > 0 ? -along : along - (size - 1), 0);
    const int lastStep = std::min(step > 0 ? size - 1 - along : along, steps - 1);
    if (firstStep > lastStep) return;
    const int at = along + firstStep * step;
    const ptrdiff_t stride = image.stride;
    Pixel* const first = line.alongX ? image.bits + acrossFirst * stride + at
                                     : image.bits + ptrdiff_t(at) * stride + acrossFirst;
    drawRun<Op>(first, line.alongX ? step : step * stride, lastStep - firstStep + 1,
                line.alongX ? stride : 1, acrossCount, color, line.dashes,
                (line.phase + firstStep) % line.dashes.period);
}

// Any other line, pixel by pixel (Bresenham), each tested against the image's edges.
template <PixelOp Op, typename Pixel>
void drawSloped(const PixelTarget<Pixel>& image, PixelLine line, Pixel color) {
    const int dx = std::abs(line.endX - line.px), dy = -std::abs(line.endY - line.py);
    const int sx = line.px < line.endX ? 1 : -1, sy = line.py < line.endY ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (line.phase < line.dashes.on) {
            for (int k = line.from; k <= line.to; ++k) {
                const int x = line.alongX ? line.px : line.px + k;
                const int y = line.alongX ? line.py + k : line.py;
                if (x >= 0 && x < image.width && y >= 0 && y < image.height)
                    plot<Op>(image.bits + y * image.stride + x, color);
            }
        }
        if (line.px == line.endX && line.py == line.endY) break;
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            line.px += sx;
        }
        if (doubled <= dx) {
            error += dx;
            line.py += sy;
        }
        if (++line.phase == line.dashes.period) line.phase = 0;
    }
}

template <PixelOp Op, typename Pixel>
void drawLine(const PixelTarget<Pixel>& image, double x1, double y1, double x2, double y2,
              Pixel color, int width, DashPattern pattern) {
    const int w = image.width, h = image.height;
    // Within the image, which no infinite or undefined coordinate is.
    const bool inside =
        x1 >= 0 && x1 < w && x2 >= 0 && x2 < w && y1 >= 0 && y1 < h && y2 >= 0 && y2 < h;
    if (inside && width <= 1 && floorToInt(x1) == floorToInt(x2)) {
        // Nearly every segment at many days a column: a thin run within one column of the
        // image, with nothing to cut.
        const int x = floorToInt(x1), fromY = floorToInt(y1), toY = floorToInt(y2);
        drawRun<Op>(image.bits + ptrdiff_t(fromY) * image.stride + x,
                    toY >= fromY ? image.stride : -image.stride, std::abs(toY - fromY) + 1, 0, 1,
                    color, Dashes(pattern, 1), 0);
        return;
    }
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    width = std::max(width, 1);
    const double startX = x1, startY = y1;
    if (!inside && !clipLine(x1, y1, x2, y2, -width, -width, w + width, h + width)) return;
    PixelLine line{floorToInt(x1),
                   floorToInt(y1),
                   floorToInt(x2),
                   floorToInt(y2),
                   false,
                   -(width - 1) / 2,
                   width / 2,
                   Dashes(pattern, width),
                   0};
    line.alongX = std::abs(line.endX - line.px) >= std::abs(line.endY - line.py);
    // The pattern runs from the line's own start, even when clipping cut that start off.
    const int skipped =
        inside ? 0
               : static_cast<int>(line.alongX ? std::fabs(std::floor(x1) - std::floor(startX))
                                              : std::fabs(std::floor(y1) - std::floor(startY)));
    line.phase = skipped % line.dashes.period;
    if (line.px == line.endX || line.py == line.endY)
        drawStraight<Op>(image, line, color);
    else
        drawSloped<Op>(image, line, color);
}

} // namespace

template <typename Pixel>
void rasterLine(const PixelTarget<Pixel>& image, double x1, double y1, double x2, double y2,
                Pixel color, int width, DashPattern pattern, PixelOp op) {
    if (op == PixelOp::Set)
        drawLine<PixelOp::Set>(image, x1, y1, x2, y2, color, width, pattern);
    else
        drawLine<PixelOp::Invert>(image, x1, y1, x2, y2, color, width, pattern);
}

template <typename Pixel>
void rasterFill(const PixelTarget<Pixel>& image, double x1, double y1, double x2, double y2,
                Pixel color, PixelOp op) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    const double left = std::max(std::floor(std::min(x1, x2)), 0.0);
    const double top = std::max(std::floor(std::min(y1, y2)), 0.0);
    const double right = std::min(std::floor(std::max(x1, x2)), image.width - 1.0);
    const double bottom = std::min(std::floor(std::max(y1, y2)), image.height - 1.0);
    if (left > right || top > bottom) return;
    const int columns = static_cast<int>(right - left) + 1;
    Pixel* row = image.bits + static_cast<ptrdiff_t>(top) * image.stride + static_cast<int>(left);
    for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y, row += image.stride) {
        if (op == PixelOp::Invert) {
            for (int x = 0; x < columns; ++x) plot<PixelOp::Invert>(row + x, color);
        } else if (columns == 1) {
            *row = color; // a candle body at many days a column
        } else {
            std::fill(row, row + columns, color);
        }
    }
}

template <typename Pixel>
void rasterFrame(const PixelTarget<Pixel>& image, double x1, double y1, double x2, double y2,
                 Pixel color, int width, DashPattern pattern, PixelOp op) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    width = std::max(width, 1);
    // Corners far outside the image are brought to just outside it: the walk stays short.
    const auto corner = [width](double value, int size) {
        return static_cast<int>(std::clamp(std::floor(value), -2.0 - width, size + 1.0 + width));
    };
    const int left = corner(std::min(x1, x2), image.width);
    const int right = corner(std::max(x1, x2), image.width);
    const int top = corner(std::min(y1, y2), image.height);
    const int bottom = corner(std::max(y1, y2), image.height);
    const Dashes dashes(pattern, width);
    const int from = -(width - 1) / 2, to = width / 2;
    int phase = 0;
    // One step of the path: the pixel and its neighbours across the side it lies on.
    const auto step = [&](int x, int y, bool horizontalSide) {
        if (phase < dashes.on) {
            for (int k = from; k <= to; ++k) {
                const int px = horizontalSide ? x : x + k, py = horizontalSide ? y + k : y;
                if (px < 0 || px >= image.width || py < 0 || py >= image.height) continue;
                Pixel* const pixel = image.bits + py * image.stride + px;
                if (op == PixelOp::Set)
                    plot<PixelOp::Set>(pixel, color);
                else
                    plot<PixelOp::Invert>(pixel, color);
            }
        }
        if (++phase == dashes.period) phase = 0;
    };
    for (int x = left; x <= right; ++x) step(x, top, true);
    for (int y = top + 1; y <= bottom; ++y) step(right, y, false);
    if (bottom > top)
        for (int x = right - 1; x >= left; --x) step(x, bottom, true);
    if (right > left)
        for (int y = bottom - 1; y > top; --y) step(left, y, false);
}

// The window's 32-bit colours and the picture's 8-bit palette indices.
template void rasterLine(const PixelTarget<uint32_t>&, double, double, double, double, uint32_t,
                         int, DashPattern, PixelOp);
template void rasterFill(const PixelTarget<uint32_t>&, double, double, double, double, uint32_t,
                         PixelOp);
template void rasterFrame(const PixelTarget<uint32_t>&, double, double, double, double, uint32_t,
                          int, DashPattern, PixelOp);
template void rasterLine(const PixelTarget<uint8_t>&, double, double, double, double, uint8_t, int,
                         DashPattern, PixelOp);
template void rasterFill(const PixelTarget<uint8_t>&, double, double, double, double, uint8_t,
                         PixelOp);
template void rasterFrame(const PixelTarget<uint8_t>&, double, double, double, double, uint8_t, int,
                          DashPattern, PixelOp);

} // namespace nimbrel

#include "picture/PictureSurface.h"

#include <QList>
#include <QString>

#include <algorithm>

namespace nimbrel {

namespace {

// A 96 dpi screen, as the window's image at a pixel density of 1; the factor written as the
// window's surface writes it, so that every measure comes out the same to the last bit.
constexpr double kPixelsPerInch = kTwipsPerInch / kTwipsPerPixel;
constexpr double kPixelsPerTwip = kPixelsPerInch / kTwipsPerInch;

// Where the window's text layout puts a coordinate: in whole 64ths of a pixel, the fraction
// cut off.
int64_t layoutPosition(double twips) {
    return static_cast<int64_t>(twips * kPixelsPerTwip * 64);
}

// Characters the window's text engine neither shows nor advances for: the default ignorable
// code points (soft hyphen, joiners, marks of direction, variation selectors, ...) and the
// separators of lines and paragraphs.
bool isIgnorable(char32_t c) {
    static constexpr std::pair<char32_t, char32_t> kRanges[] = {
        {0x00AD, 0x00AD},  {0x034F, 0x034F}, {0x061C, 0x061C},   {0x115F, 0x1160},
        {0x17B4, 0x17B5},  {0x180B, 0x180E}, {0x200B, 0x200F},   {0x2028, 0x202E},
        {0x2060, 0x206F},  {0x3164, 0x3164}, {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},
        {0xFFA0, 0xFFA0},  {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
        {0xE0000, 0xE0FFF}};
    if (c < 0xAD) return false;
    return std::any_of(std::begin(kRanges), std::end(kRanges),
                       [c](const auto& range) { return c >= range.first && c <= range.second; });
}

// A tab stops every 80 pixels from the text's start, as in the window's text layout.
constexpr int64_t kTabStop = 80 * 64;

// The text's glyphs in order, each with the pen's place (64ths of a pixel from the text's
// start); gives the text's width. A character and its combining marks are the character the
// face draws them as, as the window's engine composes them.
template <typename Visit> int64_t layOut(GlyphFace::Size& size, const QString& text, Visit visit) {
    int64_t pen = 0;
    const auto step = [&](char32_t c) {
        if (c == '\t') {
            pen = (pen / kTabStop + 1) * kTabStop;
        } else if (!isIgnorable(c)) {
            const GlyphFace::Character& character = size.character(c);
            visit(character.glyph, pen);
            pen += character.advance;
        }
    };
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        for (const QChar c : text) step(c.unicode());
    } else {
        for (const uint c : text.normalized(QString::NormalizationForm_C).toUcs4()) step(c);
    }
    return pen;
}

} // namespace

PictureSurface::PictureSurface(PalettePicture& picture, GlyphFace& face)
    : picture_(picture), face_(face), raster_(picture.pixels(), kPixelsPerTwip) {
    penChanged();
}

void PictureSurface::clear() {
    if (!blank_) picture_.clear();
    blank_ = true;
}

void PictureSurface::penChanged() {
    penIndex_ = picture_.colourIndex(pen().color);
    raster_.setPen(penIndex_, std::max(1, pen().width), pen().style);
}

void PictureSurface::line(double x1, double y1, double x2, double y2) {
    blank_ = false;
    raster_.line(x1, y1, x2, y2);
}

void PictureSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    blank_ = false;
    raster_.box(x1, y1, x2, y2, picture_.colourIndex(color), fill);
}

void PictureSurface::setFont(const QString&, double points) {
    const int pixels = fontPixels(points, kPixelsPerInch);
    fontPoints_ = pixels * 72 / kPixelsPerInch;
    if (!size_ || size_->pixels() != pixels) size_ = &face_.size(pixels);
}

double PictureSurface::textWidth(const QString& text) const {
    if (!size_) return 0;
    const int64_t width = layOut(*size_, text, [](uint32_t, int64_t) {});
    return width / 64.0 / kPixelsPerTwip;
}

double PictureSurface::textHeight(const QString&) const {
    if (!size_) return 0;
    return (size_->ascent() + size_->descent()) / 64.0 / kPixelsPerTwip;
}

void PictureSurface::printText(double x, double y, const QString& text) {
    if (!size_) return;
    blank_ = false;
    const int64_t left = layoutPosition(x), baseline = layoutPosition(y) + size_->ascent();
    layOut(*size_, text, [&](uint32_t glyph, int64_t pen) {
        const int64_t at = left + pen;
        if (size_->outlined()) {
            print(size_->outline(glyph, int(at & 63), int(baseline & 63)), int(at >> 6),
                  int(baseline >> 6));
        } else {
            // A hinted glyph stands on the whole pixel of its pen, on the baseline rounded to
            // the nearest pixel (a half down).
            print(size_->hinted(glyph), int(at >> 6), int((baseline + 32) >> 6));
        }
    });
}

// The glyph's inked pixels in the pen's colour, those beside the picture left out.
void PictureSurface::print(const GlyphBitmap& glyph, int x, int y) {
    const PixelTarget<uint8_t> pixels = picture_.pixels();
    const int left = x + glyph.left, top = y - glyph.top;
    const int fromColumn = std::max(0, -left),
              toColumn = std::min(glyph.width, pixels.width - left);
    const int fromRow = std::max(0, -top), toRow = std::min(glyph.rows, pixels.height - top);
    for (int row = fromRow; row < toRow; ++row) {
        uint8_t* line = pixels.bits + ptrdiff_t(top + row) * pixels.stride + left;
        for (int column = fromColumn; column < toColumn; ++column)
            if (glyph.inked(column, row)) line[column] = penIndex_;
    }
}

} // namespace nimbrel

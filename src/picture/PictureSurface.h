#pragma once

#include "picture/GlyphFace.h"
#include "picture/PalettePicture.h"
#include "render/RasterDrawing.h"

namespace nimbrel {

// The command line's picture as a surface: 15 twips to a pixel, as the window's image at a
// pixel density of 1, which it equals pixel for pixel. Lines and boxes go straight into the
// palette indices; texts are printed from the glyphs of the chart's face, which every font name
// stands for: the chart has no other.
class PictureSurface final : public Surface {
public:
    PictureSurface(PalettePicture& picture, GlyphFace& face);

    void clear() override;
    double width() const override { return picture_.width() * kTwipsPerPixel; }
    double height() const override { return picture_.height() * kTwipsPerPixel; }
    double heightInPoints() const override { return height() / kTwipsPerPoint; }

    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) override;

    void setFont(const QString& name, double points) override;
    double fontSize() const override { return fontPoints_; }
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    void printText(double x, double y, const QString& text) override;

protected:
    void penChanged() override;

private:
    void print(const GlyphBitmap& glyph, int x, int y);

    PalettePicture& picture_;
    GlyphFace& face_;
    RasterDrawing<uint8_t> raster_;
    GlyphFace::Size* size_ = nullptr;
    double fontPoints_ = 0;
    uint8_t penIndex_ = 0;
    // Nothing drawn since the picture was made or cleared: it is all background.
    bool blank_ = true;
};

} // namespace nimbrel

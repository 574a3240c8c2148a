#include "render/PixelRaster.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>
#include <vector>

namespace nimbrel {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Pixels in rows with a margin after each, which nothing may touch: the rows of a picture are
// apart by more than their width.
template <typename Pixel> struct Image {
    static constexpr int kMargin = 3;
    static constexpr Pixel kUntouched = Pixel(0x5A5A5A5A);
    int width, height;
    std::vector<Pixel> pixels;

    Image(int w, int h, Pixel fill) : width(w), height(h), pixels(size_t((w + kMargin) * h), fill) {
        for (int y = 0; y < h; ++y)
            for (int m = 0; m < kMargin; ++m)
                pixels[size_t(y * (w + kMargin) + w + m)] = kUntouched;
    }
    PixelTarget<Pixel> target() { return {pixels.data(), width + kMargin, width, height}; }
    Pixel pixel(int x, int y) const { return pixels[size_t(y * (width + kMargin) + x)]; }
    bool marginsUntouched() const {
        for (int y = 0; y < height; ++y)
            for (int m = 0; m < kMargin; ++m)
                if (pixel(width + m, y) != kUntouched) return false;
        return true;
    }
    bool operator==(const Image&) const = default;
};

// The image as rows of '.' (white) and 'X' (black), top to bottom, apart by '/'.
template <typename Pixel> std::string rows(const Image<Pixel>& image, Pixel white, Pixel black) {
    std::string out;
    for (int y = 0; y < image.height; ++y) {
        if (y > 0) out += '/';
        for (int x = 0; x < image.width; ++x)
            out += image.pixel(x, y) == white ? '.' : image.pixel(x, y) == black ? 'X' : '?';
    }
    EXPECT_TRUE(image.marginsUntouched());
    return out;
}

std::string rows(const Image<uint32_t>& image) {
    return rows(image, kWhite, kBlack);
}

Image<uint32_t> blank(int width, int height) {
    return Image<uint32_t>(width, height, kWhite);
}

} // namespace

TEST(PixelRaster, LinesRunTheirPatternFromTheirOwnStartWithinTheImage) {
    using P = DashPattern;
    const struct {
        double x1, y1, x2, y2;
        int width;
        DashPattern pattern;
        const char* expected; // a 6 x 8 image
    } lines[] = {
        // clang-format off
        // Dots on steps 0, 3, 6 from the start, downwards and upwards.
        {2.5, 0.2, 2.5, 7.9, 1, P::Dotted, "..X.../....../....../..X.../....../....../..X.../......"},
        {2.5, 7.9, 2.9, 0.2, 1, P::Dotted, "....../..X.../....../....../..X.../....../....../..X..."},
        // Dashes of four, gaps of two; a pen two wide doubles both.
        {0, 0, 0, 7.9, 1, P::Dashed, "X...../X...../X...../X...../....../....../X...../X....."},
        {1, 0, 1, 7.9, 2, P::Dotted, ".XX.../.XX.../....../....../....../....../.XX.../.XX..."},
        // Starts at row -4: rows -4 to -1 are on, 0 and 1 off, 2 to 5 on, 6 and 7 off.
        {1, -3.5, 1, 7, 1, P::Dashed, "....../....../.X..../.X..../.X..../.X..../....../......"},
        // Starts at column -5: dots at -5, -2, 1 and 4.
        {-4.5, 1, 5.9, 1, 1, P::Dotted, "....../.X..X./....../....../....../....../....../......"},
        // Thick pens: two wide lie on the pixel and the next, three to five on both sides (the
        // extra one after); what falls beside the image is left out.
        {5.5, 1, 5.5, 3, 2, P::Solid, "....../.....X/.....X/.....X/....../....../....../......"},
        {0.2, 5, 0.2, 6.5, 3, P::Solid, "....../....../....../....../....../XX..../XX..../......"},
        {1, 7.5, 4.5, 7.5, 2, P::Solid, "....../....../....../....../....../....../....../.XXXX."},
        {1, 3, 3, 3, 4, P::Solid, "....../....../.XXX../.XXX../.XXX../.XXX../....../......"},
        {2.5, 1, 2.5, 2, 5, P::Solid, "....../XXXXX./XXXXX./....../....../....../....../......"},
        // One pixel: the pen's width goes downwards, as for a horizontal line.
        {3.5, 2.5, 3.7, 2.9, 2, P::Solid, "....../....../...X../...X../....../....../....../......"},
        // A diagonal: one pixel a row.
        {0.5, 0.5, 5.5, 5.5, 1, P::Solid, "X...../.X..../..X.../...X../....X./.....X/....../......"},
        // Running off the right edge: cut there, not carried on to the next row.
        {1, 1, 9, 1, 1, P::Solid, "....../.XXXXX/....../....../....../....../....../......"},
        // From inside to above the image, in one column: cut at the top row.
        {2.5, 3.5, 2.5, -4, 1, P::Solid, "..X.../..X.../..X.../..X.../....../....../....../......"},
        // No place at all, or wholly beside the image: nothing.
        {kNaN, 1, 3, 4, 1, P::Solid, "....../....../....../....../....../....../....../......"},
        {2, 1, 2, kInfinity, 1, P::Solid, "....../....../....../....../....../....../....../......"},
        {7, 1, 7, 6, 1, P::Solid, "....../....../....../....../....../....../....../......"},
        // clang-format on
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(testing::Message() << line.x1 << "," << line.y1 << " " << line.x2 << ","
                                        << line.y2 << " width " << line.width);
        Image image = blank(6, 8);
        rasterLine(image.target(), line.x1, line.y1, line.x2, line.y2, kBlack, line.width,
                   line.pattern);
        EXPECT_EQ(rows(image), line.expected);
        // The picture's palette indices take the same pixels.
        Image<uint8_t> indexed(6, 8, 0);
        rasterLine(indexed.target(), line.x1, line.y1, line.x2, line.y2, uint8_t(1), line.width,
                   line.pattern);
        EXPECT_EQ(rows(indexed, uint8_t(0), uint8_t(1)), line.expected);
    }
}

} // namespace nimbrel

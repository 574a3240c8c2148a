#pragma once

#include "render/PixelRaster.h"
#include "render/Surface.h"

#include <cstddef>
#include <string>
#include <vector>

namespace nimbrel {

// A picture of at most 256 colours, each pixel the index of its colour, its rows laid out as a
// PNG file holds them (a filter byte before each row's indices): the file's pixel data is the
// picture deflated as it stands, with no pass over its pixels.
class PalettePicture {
public:
    // A picture of that many pixels in the background colour, the palette's first.
    PalettePicture(int width, int height, Rgb background);
    ~PalettePicture();
    PalettePicture(const PalettePicture&) = delete;
    PalettePicture& operator=(const PalettePicture&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    PixelTarget<uint8_t> pixels() {
        return {rows_ ? rows_ + 1 : nullptr, width_ + 1, width_, height_};
    }
    // The index of a colour, which the palette takes the first time it is asked for; once the
    // palette is full, the index of the nearest colour in it.
    uint8_t colourIndex(Rgb colour);
    // Every pixel back to the background.
    void clear();
    // The bytes of the picture's PNG file; empty when it cannot be made.
    [[nodiscard]] std::string png() const;

private:
    size_t rowBytes() const { return size_t(width_) + 1; }

    int width_;
    int height_;
    // Zeroed by the system: a new picture is the background (index 0, each row's filter byte
    // 0) without a pass over it. In huge pages where the system has them: 350 faults of small
    // pages for a picture of 1600 x 900 were a tenth of a render.
    uint8_t* rows_;
    std::vector<Rgb> palette_;
};

} // namespace nimbrel

#include "picture/PalettePicture.h"

#include "system/HugePages.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace nimbrel {

namespace {

void appendBigEndian(std::string& to, uint32_t value) {
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    to.append(bytes, 4);
}

void appendChunk(std::string& png, std::string_view type, std::string_view data) {
    appendBigEndian(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.append(type);
    png.append(data);
    const auto* typed = reinterpret_cast<const Bytef*>(png.data() + start);
    appendBigEndian(png, static_cast<uint32_t>(crc32(0, typed, uInt(png.size() - start))));
}

int distance(Rgb a, Rgb b) {
    const auto square = [](int d) { return d * d; };
    return square(a.red - b.red) + square(a.green - b.green) + square(a.blue - b.blue);
}

} // namespace

PalettePicture::PalettePicture(int width, int height, Rgb background)
    : width_(width), height_(height),
      rows_(static_cast<uint8_t*>(mapHugePages(size_t(height) * rowBytes()))), palette_{
                                                                                   background} {
    if (!rows_) width_ = height_ = 0; // drawn on as an empty picture, and never written
}

PalettePicture::~PalettePicture() {
    unmapHugePages(rows_, size_t(height_) * rowBytes());
}

uint8_t PalettePicture::colourIndex(Rgb colour) {
    // Every candle's box asks for its colour: a look along the dozen colours of a chart.
    const auto known = std::find(palette_.begin(), palette_.end(), colour);
    if (known != palette_.end()) return static_cast<uint8_t>(known - palette_.begin());
    if (palette_.size() < 256) {
        palette_.push_back(colour);
        return static_cast<uint8_t>(palette_.size() - 1);
    }
    return static_cast<uint8_t>(std::min_element(palette_.begin(), palette_.end(),
                                                 [colour](Rgb a, Rgb b) {
                                                     return distance(a, colour) <
                                                            distance(b, colour);
                                                 }) -
                                palette_.begin());
}

void PalettePicture::clear() {
    if (rows_) std::memset(rows_, 0, size_t(height_) * rowBytes());
}

// The rows deflated with runs only: a chart is mostly long runs of one colour, which finds
// nearly all that the full search would, several times faster.
std::string PalettePicture::png() const {
    if (width_ == 0 || height_ == 0) return {};
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return {};
    const uLong rows = uLong(height_) * rowBytes();
    // Only the pages the deflated rows reach are ever touched.
    const uLong bound = deflateBound(&stream, rows);
    const std::unique_ptr<Bytef[]> deflated(new Bytef[bound]);
    stream.next_in = rows_;
    stream.avail_in = uInt(rows);
    stream.next_out = deflated.get();
    stream.avail_out = uInt(bound);
    const bool whole = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    deflateEnd(&stream);
    if (!whole) return {};

    std::string header;
    appendBigEndian(header, static_cast<uint32_t>(width_));
    appendBigEndian(header, static_cast<uint32_t>(height_));
    header.append("\x08\x03\x00\x00\x00", 5); // 8 bits an index of a palette, not interlaced
    std::string colours;
    for (const Rgb colour : palette_)
        colours += {char(colour.red), char(colour.green), char(colour.blue)};
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(png.size() + 3 * 12 + header.size() + colours.size() + stream.total_out + 12);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "PLTE", colours);
    appendChunk(png, "IDAT",
                std::string_view(reinterpret_cast<const char*>(deflated.get()), stream.total_out));
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace nimbrel

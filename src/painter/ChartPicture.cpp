#include "painter/ChartPicture.h"

#include <QBuffer>
#include <QImageWriter>

#include <zlib.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace nimbrel {

namespace {

// The chart's rows as a palette image's PNG scanlines (a filter byte of 0, then an index a
// pixel), with the palette they use; empty when the image has more colours than a palette
// holds or a colour that is not opaque.
struct PaletteRows {
    QByteArray rows;
    std::array<QRgb, 256> colours;
    int colourCount = 0;
};

bool paletteRows(const QImage& image, PaletteRows& out) {
    const int width = image.width(), height = image.height();
    out.rows = QByteArray(qsizetype(height) * (width + 1), Qt::Uninitialized);
    auto* to = reinterpret_cast<uchar*>(out.rows.data());
    // Most pixels continue the run of the one before: the last colour is tried first, then a
    // look along the dozen colours at most. No pixel of an opaque image is 0.
    QRgb last = 0;
    uchar lastIndex = 0;
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        *to++ = 0;
        for (int x = 0; x < width; ++x) {
            if (from[x] != last) {
                if (qAlpha(from[x]) != 255) return false;
                int index = 0;
                while (index < out.colourCount && out.colours[size_t(index)] != from[x]) ++index;
                if (index == out.colourCount) {
                    if (out.colourCount == 256) return false;
                    out.colours[size_t(out.colourCount++)] = from[x];
                }
                last = from[x];
                lastIndex = static_cast<uchar>(index);
            }
            *to++ = lastIndex;
        }
    }
    return true;
}

void appendBigEndian(QByteArray& to, uint32_t value) {
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    to.append(bytes, 4);
}

void appendChunk(QByteArray& png, std::string_view type, const QByteArray& data) {
    appendBigEndian(png, static_cast<uint32_t>(data.size()));
    const qsizetype start = png.size();
    png.append(type.data(), 4);
    png.append(data);
    const auto* typed = reinterpret_cast<const Bytef*>(png.constData() + start);
    appendBigEndian(png, static_cast<uint32_t>(crc32(0, typed, uInt(png.size() - start))));
}

// The scanlines deflated with runs only: a chart is mostly long runs of one colour, which finds
// nearly all that the full search would, several times faster.
QByteArray deflatedRows(const QByteArray& rows) {
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return {};
    QByteArray out(qsizetype(deflateBound(&stream, uLong(rows.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(rows.constData()));
    stream.avail_in = uInt(rows.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const bool whole = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return whole ? out : QByteArray();
}

QByteArray palettePng(const QImage& image, const PaletteRows& palette) {
    const QByteArray deflated = deflatedRows(palette.rows);
    if (deflated.isEmpty()) return {};
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, static_cast<uint32_t>(image.width()));
    appendBigEndian(header, static_cast<uint32_t>(image.height()));
    header.append("\x08\x03\x00\x00\x00", 5); // 8 bits an index of a palette, not interlaced
    appendChunk(png, "IHDR", header);
    QByteArray colours;
    for (int i = 0; i < palette.colourCount; ++i) {
        const QRgb colour = palette.colours[size_t(i)];
        const char rgb[] = {char(qRed(colour)), char(qGreen(colour)), char(qBlue(colour))};
        colours.append(rgb, 3);
    }
    appendChunk(png, "PLTE", colours);
    appendChunk(png, "IDAT", deflated);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace

QByteArray chartPng(const QImage& chart) {
    PaletteRows palette;
    const QImage::Format format = chart.format();
    const bool argb = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                      format == QImage::Format_ARGB32_Premultiplied;
    if (argb && !chart.isNull() && paletteRows(chart, palette)) return palettePng(chart, palette);
    // A picture of many colours, or of another depth, goes through Qt's writer.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(1);
    if (!writer.write(chart)) return {};
    return png;
}

} // namespace nimbrel

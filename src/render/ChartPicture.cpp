#include "render/ChartPicture.h"

#include <QBuffer>
#include <QImageWriter>

#include <array>

namespace nimbrel {

namespace {

// The chart has a handful of exact colours: as a palette image its PNG is a third of the size
// and encodes several times faster. An image with more colours than a palette holds stays as it
// is.
QImage paletteImage(const QImage& image) {
    QImage indexed(image.size(), QImage::Format_Indexed8);
    std::array<QRgb, 256> palette;
    int colours = 0;
    // Most pixels continue the run of the one before: the last colour is tried first, then a
    // look along the dozen colours at most. No pixel of an opaque image is 0.
    QRgb last = 0;
    uchar lastIndex = 0;
    const int width = image.width(), height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (from[x] != last) {
                int index = 0;
                while (index < colours && palette[size_t(index)] != from[x]) ++index;
                if (index == colours) {
                    if (colours == 256) return image;
                    palette[size_t(colours++)] = from[x];
                }
                last = from[x];
                lastIndex = static_cast<uchar>(index);
            }
            to[x] = lastIndex;
        }
    }
    indexed.setColorTable(QList<QRgb>(palette.begin(), palette.begin() + colours));
    return indexed;
}

} // namespace

QByteArray chartPng(const QImage& chart) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // The chart is a few flat colours: light compression is nearly as small and much faster.
    writer.setCompression(1);
    if (!writer.write(paletteImage(chart))) return {};
    return png;
}

} // namespace nimbrel

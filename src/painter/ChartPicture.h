#pragma once

#include <QByteArray>
#include <QImage>

namespace nimbrel {

// The chart's image as the bytes of a PNG file.
[[nodiscard]] QByteArray chartPng(const QImage& chart);

} // namespace nimbrel

#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

namespace nimbrel {

// A printed PDF as poppler sees it: its pages, their size, their words and their pixels.

int pdfPageCount(const QString& pdf);
QSizeF pdfPageSize(const QString& pdf); // points
// How far down the first page (0 its top, 1 its foot) the top of the first word that starts
// with `start` stands; NaN, which passes no comparison, when there is none.
double pdfWordHeight(const QString& pdf, const QString& start);
// The first page at `dpi`, without smoothing, so that every pixel is an ink or the paper.
QImage pdfPageImage(const QString& pdf, int dpi);

// The smallest rectangle holding every pixel that is not white.
QRect inkBounds(const QImage& image);

} // namespace nimbrel

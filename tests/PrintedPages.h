#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

#include <vector>

// A printed PDF as poppler sees it: its pages, their size, their words and their pixels.

struct PdfWord {
    QString text;
    double x = 0, y = 0; // the top left corner, in points from the page's top left
};

int pdfPageCount(const QString& pdf);
QSizeF pdfPageSize(const QString& pdf); // points
std::vector<PdfWord> pdfWords(const QString& pdf);
// The first page at `dpi`, without smoothing, so that every pixel is an ink or the paper.
QImage pdfPageImage(const QString& pdf, int dpi);

// The smallest rectangle holding every pixel that is not white.
QRect inkBounds(const QImage& image);

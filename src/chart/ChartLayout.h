#pragma once

#include "chart/AxisScale.h"
#include "chart/ChartMapping.h"
#include "chart/ChartProfile.h"
#include "chart/ChartTexts.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "platform/Surface.h"

#include <QString>

inline const QString kChartFont = QStringLiteral("ＭＳ 明朝");

// Everything a drawing pass places, computed once before anything is drawn.
struct ChartLayout {
    int firstDay = 1;
    int lastDay = 0;
    // False when no day is drawn or the axis has no height: the pass stops after the title.
    bool hasRange = false;
    AxisScale axis;
    double titleFontSize = 0;
    double labelFontSize = 0;
    PlotFrame frame;
    float dayWidth = 0;
    double halfBody = 0;

    QString title;
    double titleX = 0, titleY = 0;
    QString legend;
    double legendX = 0, legendY = 0;

    DayMapping days;
    PriceMapping gridPrices;   // the grid: exact logarithms on a log axis
    PriceMapping seriesPrices; // the series: the bottom's logarithm rounded to four decimals
    int gridLines = 0;         // intervals of the price grid
};

// Lays out the chart of the view on the surface. Measures text through the surface (and so
// leaves a font set on it); normalises the view's firstDay.
ChartLayout layoutChart(Surface& surface, const PriceSeries& series, ViewState& view,
                        const ChartProfile& profile);

#pragma once

#include "analysis/Bars.h"
#include "command/CommandWords.h"
#include "data/Fixed4.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel {

// What a command line asks for.
struct Request {
    Job job = Job::ExportCsv;
    QString output; // "-" is standard output, for the export
    QString sheet = QStringLiteral("sheet1");
    QString file;
    QString lowerFile; // the chart of a printed sheet's lower half; the first file takes the upper
    // The chart's view.
    QSize size{1280, 800};
    int days = 120;
    bool logY = false;
    bool spanForward = true;
    bool spanBack = false;
    BarPeriod bars = BarPeriod::Daily;
    // The analysis: dates of bars, each a trading day of the file.
    std::vector<Fixed4> timeFrom;                    // pivots of the basic numbers
    std::optional<std::array<Fixed4, 2>> equalCount; // A and B of an equal count
    std::optional<std::array<Fixed4, 3>> targets;    // A, B and C of the price targets
    // The printed sheet: the paper's name as given, which the print's program knows the sizes
    // of (none for A4).
    QString paper;
    bool landscape = false;

    bool analyses() const { return !timeFrom.empty() || equalCount || targets; }
};

// The request of the arguments (without the program's name); nullopt for a wrong command: an
// unknown option, a missing or bad value, an option the job does not take, no file.
[[nodiscard]] std::optional<Request> parseArguments(const QStringList& arguments);

// The usage that --help prints and that a wrong command is answered with.
std::string usageText();

} // namespace nimbrel

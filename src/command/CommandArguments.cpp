#include "command/CommandArguments.h"

#include "data/HeaderLayout.h"
#include "data/PriceSeries.h"

#include <string_view>
#include <vector>

namespace nimbrel {

namespace {

constexpr char kUsage[] =
    "使い方:\n"
    "  nimbrel [FILE | FOLDER]\n"
    "  nimbrel --help | -h | --version\n"
    "  nimbrel --export-csv OUT [--sheet NAME] [--bars PERIOD] [ANALYSIS] FILE\n"
    "  nimbrel --render OUT.png [--size WxH] [VIEW] [ANALYSIS] FILE\n"
    "  nimbrel --print-pdf OUT.pdf [--paper NAME] [--landscape] [VIEW] [ANALYSIS] FILE "
    "[--lower FILE2]\n"
    "VIEW:     [--days N] [--log] [--lagging forward|back|both|none] [--sheet NAME] "
    "[--bars PERIOD]\n"
    "PERIOD:   daily | weekly | monthly\n"
    "ANALYSIS: [--time-from DATE] [--equal-count DATE,DATE] [--targets DATE,DATE,DATE]\n"
    "NAME of --paper: A4, A3, A5, B5 (JIS), ISOB5, Letter, Legal ...\n";

bool parseSize(const QString& text, Request& request) {
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) return false;
    bool okWidth = false, okHeight = false;
    const int width = parts[0].toInt(&okWidth), height = parts[1].toInt(&okHeight);
    if (!okWidth || !okHeight || width < 1 || height < 1 || width > 16384 || height > 16384)
        return false;
    request.size = QSize(width, height);
    return true;
}

bool parseDays(const QString& text, Request& request) {
    bool ok = false;
    request.days = text.toInt(&ok);
    return ok && request.days >= 1 && request.days <= kMaxDays;
}

bool parseLagging(const QString& text, Request& request) {
    static const struct {
        const char* name;
        bool forward, back;
    } kPlacements[] = {{"forward", true, false},
                       {"back", false, true},
                       {"both", true, true},
                       {"none", false, false}};
    for (const auto& placement : kPlacements) {
        if (text == QLatin1String(placement.name)) {
            request.spanForward = placement.forward;
            request.spanBack = placement.back;
            return true;
        }
    }
    return false;
}

bool parseBars(const QString& text, Request& request) {
    static const std::pair<const char*, BarPeriod> kPeriods[] = {{"daily", BarPeriod::Daily},
                                                                 {"weekly", BarPeriod::Weekly},
                                                                 {"monthly", BarPeriod::Monthly}};
    for (const auto& [name, period] : kPeriods) {
        if (text == QLatin1String(name)) {
            request.bars = period;
            return true;
        }
    }
    return false;
}

// DATE or DATE,DATE,...: as many dates as asked for, each as data files write them.
template <size_t N> std::optional<std::array<Fixed4, N>> parseDates(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != qsizetype(N)) return std::nullopt;
    std::array<Fixed4, N> dates;
    for (size_t i = 0; i < N; ++i) {
        const std::optional<Fixed4> date = headerDate(parts[qsizetype(i)].trimmed().toStdString());
        if (!date) return std::nullopt;
        dates[i] = *date;
    }
    return dates;
}

// What an option does with its value (none for a flag); false for a value it cannot take.
bool take(Option option, const QString& value, Request& request) {
    switch (option) {
    case Option::Sheet:
        return !value.isEmpty() && (request.sheet = value, true);
    case Option::Size:
        return parseSize(value, request);
    case Option::Days:
        return parseDays(value, request);
    case Option::Log:
        return request.logY = true;
    case Option::Lagging:
        return parseLagging(value, request);
    case Option::Paper:
        return !value.isEmpty() && (request.paper = value, true);
    case Option::Landscape:
        return request.landscape = true;
    case Option::Bars:
        return parseBars(value, request);
    case Option::TimeFrom: {
        const auto date = parseDates<1>(value);
        return date && (request.timeFrom.push_back((*date)[0]), true);
    }
    case Option::EqualCount:
        return !request.equalCount && (request.equalCount = parseDates<2>(value)).has_value();
    case Option::Targets:
        return !request.targets && (request.targets = parseDates<3>(value)).has_value();
    case Option::Lower:
        return !value.isEmpty() && request.lowerFile.isEmpty() && (request.lowerFile = value, true);
    }
    return false;
}

} // namespace

std::optional<Request> parseArguments(const QStringList& arguments) {
    // The words are ASCII: any argument that is one reads the same in UTF-8.
    std::vector<QByteArray> words;
    for (const QString& argument : arguments) words.push_back(argument.toUtf8());
    const auto wordAt = [&words](int i) {
        return std::string_view(words[size_t(i)].constData(), size_t(words[size_t(i)].size()));
    };
    Request request;
    std::optional<Job> job;
    unsigned optionJobs = kAllJobs; // the jobs every option given is for
    bool haveFile = false, wrong = false;
    const bool whole = readWords(int(arguments.size()), wordAt, [&](const ReadWord& read) {
        const QString& argument = arguments[read.index];
        const QString value = read.takesValue() ? arguments[read.index + 1] : QString();
        if (read.job) {
            wrong = wrong || job.has_value();
            job = read.job->job;
            request.output = value;
        } else if (read.option) {
            wrong = wrong || !take(read.option->option, value, request);
            optionJobs &= read.option->jobs;
        } else {
            // A file: any other argument, "-" included, but only one.
            wrong = wrong || argument.isEmpty() || haveFile ||
                    (argument.startsWith(QLatin1String("--")) && argument != QLatin1String("-"));
            request.file = argument;
            haveFile = true;
        }
    });
    if (!whole || wrong || !job || !haveFile || !(optionJobs & jobBit(*job))) return std::nullopt;
    request.job = *job;
    // What the analysis finds goes to standard output, which a table there would share.
    if (request.analyses() && *job == Job::ExportCsv && request.output == QLatin1String("-"))
        return std::nullopt;
    return request;
}

std::string usageText() {
    return kUsage;
}

} // namespace nimbrel

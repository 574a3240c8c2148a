#include "app/CommandArguments.h"

#include "data/HeaderLayout.h"
#include "data/PriceSeries.h"

#include <algorithm>
#include <functional>
#include <set>
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

// A paper by its usual name: A4, B5, Letter, Legal, A3 ... B5 is JIS B5, as Japanese printers
// and paper call it; ISOB5 is the ISO size.
bool parsePaper(const QString& text, Request& request) {
    if (text.compare(QLatin1String("B5"), Qt::CaseInsensitive) == 0) {
        request.paper = QPageSize(QPageSize::JisB5);
        return true;
    }
    if (text.compare(QLatin1String("ISOB5"), Qt::CaseInsensitive) == 0) {
        request.paper = QPageSize(QPageSize::B5);
        return true;
    }
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto size = static_cast<QPageSize::PageSizeId>(id);
        if (size != QPageSize::Custom &&
            QPageSize::key(size).compare(text, Qt::CaseInsensitive) == 0) {
            request.paper = QPageSize(size);
            return true;
        }
    }
    return false;
}

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

// One option: the jobs that take it, and what it does with its value (none for a flag).
struct Option {
    const char* name;
    std::set<Job> jobs;
    std::function<bool(const QString&, Request&)> take;
    bool flag = false;
};

const std::vector<Option>& options() {
    const std::set<Job> all{Job::ExportCsv, Job::Render, Job::PrintPdf};
    const std::set<Job> charts{Job::Render, Job::PrintPdf};
    static const std::vector<Option> kOptions = {
        {"--sheet", all,
         [](const QString& value, Request& r) {
             return !value.isEmpty() && (r.sheet = value, true);
         }},
        {"--size", {Job::Render}, parseSize},
        {"--days", charts, parseDays},
        {"--log", charts, [](const QString&, Request& r) { return r.logY = true; }, true},
        {"--lagging", charts, parseLagging},
        {"--paper", {Job::PrintPdf}, parsePaper},
        {"--landscape",
         {Job::PrintPdf},
         [](const QString&, Request& r) { return r.landscape = true; },
         true},
        {"--bars", all, parseBars},
        {"--time-from", all,
         [](const QString& value, Request& r) {
             const auto date = parseDates<1>(value);
             return date && (r.timeFrom.push_back((*date)[0]), true);
         }},
        {"--equal-count", all,
         [](const QString& value, Request& r) {
             return !r.equalCount && (r.equalCount = parseDates<2>(value)).has_value();
         }},
        {"--targets", all,
         [](const QString& value, Request& r) {
             return !r.targets && (r.targets = parseDates<3>(value)).has_value();
         }},
        {"--lower",
         {Job::PrintPdf},
         [](const QString& value, Request& r) {
             return !value.isEmpty() && r.lowerFile.isEmpty() && (r.lowerFile = value, true);
         }},
    };
    return kOptions;
}

std::optional<Job> jobOf(const QString& argument) {
    if (argument == QLatin1String("--export-csv")) return Job::ExportCsv;
    if (argument == QLatin1String("--render")) return Job::Render;
    if (argument == QLatin1String("--print-pdf")) return Job::PrintPdf;
    return std::nullopt;
}

} // namespace

std::optional<Request> parseArguments(const QStringList& arguments) {
    Request request;
    std::optional<Job> job;
    std::set<QString> given;
    bool haveFile = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        const QString value = hasValue ? arguments[i + 1] : QString();
        if (const std::optional<Job> named = jobOf(argument)) {
            if (job || !hasValue) return std::nullopt;
            job = named;
            request.output = value;
            ++i;
            continue;
        }
        const auto option = std::find_if(options().begin(), options().end(), [&](const Option& o) {
            return argument == QLatin1String(o.name);
        });
        if (option != options().end()) {
            if (!option->flag && !hasValue) return std::nullopt;
            if (!option->take(option->flag ? QString() : value, request)) return std::nullopt;
            given.insert(argument);
            if (!option->flag) ++i;
            continue;
        }
        // A file: any other argument, "-" included, but only one.
        if (argument.isEmpty() || haveFile ||
            (argument.startsWith(QLatin1String("--")) && argument != QLatin1String("-")))
            return std::nullopt;
        request.file = argument;
        haveFile = true;
    }
    if (!job || !haveFile) return std::nullopt;
    request.job = *job;
    // What the analysis finds goes to standard output, which a table there would share.
    if (request.analyses() && *job == Job::ExportCsv && request.output == QLatin1String("-"))
        return std::nullopt;
    for (const Option& option : options())
        if (given.count(QString::fromLatin1(option.name)) && !option.jobs.count(*job))
            return std::nullopt;
    return request;
}

std::string usageText() {
    return kUsage;
}

} // namespace nimbrel

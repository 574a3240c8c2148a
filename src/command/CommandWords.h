#pragma once

#include <string_view>

// The words of the command line and the program each command goes to. The launcher reads them
// too, and links nothing but the C library: this is all in this header, without a call into
// any other library.

namespace nimbrel {

enum class Job { ExportCsv, Render, PrintPdf };

enum class Option {
    Sheet,
    Size,
    Days,
    Log,
    Lagging,
    Paper,
    Landscape,
    Bars,
    TimeFrom,
    EqualCount,
    Targets,
    Lower
};

// Jobs as bits: the jobs an option is for.
constexpr unsigned jobBit(Job job) {
    return 1u << static_cast<unsigned>(job);
}

// A job's word is followed by its OUT.
struct JobWord {
    std::string_view name;
    Job job;
};

struct OptionWord {
    std::string_view name;
    Option option;
    unsigned jobs;
    bool takesValue = true;
};

inline constexpr JobWord kJobWords[] = {
    {"--export-csv", Job::ExportCsv}, {"--render", Job::Render}, {"--print-pdf", Job::PrintPdf}};

inline constexpr unsigned kAllJobs =
    jobBit(Job::ExportCsv) | jobBit(Job::Render) | jobBit(Job::PrintPdf);
inline constexpr unsigned kChartJobs = jobBit(Job::Render) | jobBit(Job::PrintPdf);

inline constexpr OptionWord kOptionWords[] = {
    {"--sheet", Option::Sheet, kAllJobs},
    {"--size", Option::Size, jobBit(Job::Render)},
    {"--days", Option::Days, kChartJobs},
    {"--log", Option::Log, kChartJobs, false},
    {"--lagging", Option::Lagging, kChartJobs},
    {"--paper", Option::Paper, jobBit(Job::PrintPdf)},
    {"--landscape", Option::Landscape, jobBit(Job::PrintPdf), false},
    {"--bars", Option::Bars, kAllJobs},
    {"--time-from", Option::TimeFrom, kAllJobs},
    {"--equal-count", Option::EqualCount, kAllJobs},
    {"--targets", Option::Targets, kAllJobs},
    {"--lower", Option::Lower, jobBit(Job::PrintPdf)},
};

// One argument as the command line reads it: a job's word or an option's (its value, if it
// takes one, the argument after it), or neither: a file.
struct ReadWord {
    const JobWord* job = nullptr;
    const OptionWord* option = nullptr;
    int index = 0;
    bool takesValue() const { return job || (option && option->takesValue); }
};

// Reads `count` arguments, `wordAt(i)` the i-th, calling `visit(ReadWord)` for each word or
// file in order and stepping over the values. False when the last argument is a word that
// takes a value.
template <typename WordAt, typename Visit>
constexpr bool readWords(int count, WordAt wordAt, Visit visit) {
    for (int i = 0; i < count; ++i) {
        const std::string_view word = wordAt(i);
        ReadWord read;
        read.index = i;
        for (const JobWord& job : kJobWords)
            if (word == job.name) read.job = &job;
        for (const OptionWord& option : kOptionWords)
            if (word == option.name) read.option = &option;
        if (read.takesValue() && i + 1 == count) return false;
        visit(read);
        if (read.takesValue()) ++i;
    }
    return true;
}

// The programs in libexec/nimbrel, each started for its commands alone: the window, and those
// of the command line, which load only the libraries their jobs use (the export and every
// wrong command: Qt's core; the render: FreeType besides; the print: Qt's GUI).
enum class Program { Window, Command, Render, Print };

// The program for the `count` arguments after the program's name. The window takes no
// argument, or one that names a file or folder; a command goes to the program of the job it
// names, and a wrong one, --help and --version to the command line's.
template <typename WordAt> constexpr Program programFor(int count, WordAt wordAt) {
    if (count == 0) return Program::Window;
    if (count == 1 && !wordAt(0).starts_with("--") && wordAt(0) != "-h") return Program::Window;
    const JobWord* named = nullptr;
    const bool whole = readWords(count, wordAt, [&named](const ReadWord& read) {
        if (read.job && !named) named = read.job;
    });
    if (!whole || !named || named->job == Job::ExportCsv) return Program::Command;
    return named->job == Job::Render ? Program::Render : Program::Print;
}

} // namespace nimbrel

#include "command/CommandWords.h"
#include "command/ExportCommand.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nimbrel {

namespace {

// The arguments of a command line written apart by blanks ('' an empty one).
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= line.size() && !line.empty()) {
        const size_t end = std::min(line.find(' ', start), line.size());
        const std::string word = line.substr(start, end - start);
        out.push_back(word == "''" ? "" : word);
        start = end + 1;
    }
    return out;
}

Program programOf(const std::string& line) {
    const std::vector<std::string> arguments = words(line);
    return programFor(int(arguments.size()),
                      [&arguments](int i) { return std::string_view(arguments[size_t(i)]); });
}

} // namespace

TEST(CommandWords, EachCommandGoesToTheProgramOfItsJob) {
    using P = Program;
    const std::pair<const char*, Program> commands[] = {
        {"", P::Window},
        {"prices.txt", P::Window},
        {"-", P::Window},
        {"''", P::Window},
        {"--help", P::Command},
        {"-h", P::Command},
        {"--version", P::Command},
        {"--bogus", P::Command},
        {"prices.txt other.txt", P::Command},
        {"--export-csv - prices.txt", P::Command},
        {"--render out.png prices.txt", P::Render},
        {"--log --days 30 --render out.png prices.txt", P::Render},
        {"--print-pdf out.pdf --landscape prices.txt --lower other.txt", P::Print},
        // A job's word where a value belongs is the value: OUT, or a sheet's name.
        {"--export-csv --render prices.txt", P::Command},
        {"--sheet --print-pdf --export-csv - prices.txt", P::Command},
        {"--render --print-pdf prices.txt", P::Render},
        // A flag takes no value: the word after it is read as a word.
        {"--log --print-pdf out.pdf prices.txt", P::Print},
        // Two jobs: the first's program, which finds the command wrong.
        {"--render out.png --print-pdf out.pdf prices.txt", P::Render},
        // A word that lacks its value: a wrong command, the command line's own.
        {"--render", P::Command},
        {"--render out.png prices.txt --sheet", P::Command},
        {"--print-pdf out.pdf prices.txt --lower", P::Command},
    };
    for (const auto& [command, program] : commands)
        EXPECT_EQ(programOf(command), program) << "'" << command << "'";
}

// A program started for another job's command takes it for a wrong one, rather than doing
// what it was not asked for.
TEST(CommandWords, AProgramDoesItsOwnJobAlone) {
    const QString file = kFixtures + QStringLiteral("/text/day_lines.txt");
    const QStringList others[] = {
        {QStringLiteral("--render"), QStringLiteral("/nonexistent/x.png"), file},
        {QStringLiteral("--print-pdf"), QStringLiteral("/nonexistent/x.pdf"), file}};
    for (const QStringList& arguments : others) {
        const CommandResult result = runCommandLine(arguments, kExportJob);
        EXPECT_EQ(result.exitCode, 2) << arguments[0].toStdString();
        EXPECT_EQ(result.standardError, usageText());
    }
    EXPECT_EQ(
        runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("-"), file}, kExportJob)
            .exitCode,
        0);
}

} // namespace nimbrel

#include "app/CommandLine.h"

#include "LoaderTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

QString fixture(const char* name) {
    return kFixtures + QLatin1Char('/') + QString::fromUtf8(name);
}

} // namespace

TEST(CommandLine, WritesTheTableToAFileAndTakesTheSheetName) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    CommandResult result =
        runCommandLine({QStringLiteral("--sheet"), QStringLiteral("prices"),
                        fixture("two_sheets.xls"), QStringLiteral("--export-csv"), out});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, "");
    const std::string table = fileBytes(out);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 11);
    EXPECT_EQ(table.substr(0, table.find('\n')),
              "day,date,open,high,low,close,conversion,base,span1,span2");
    EXPECT_NE(table.find("\n1,20100104,"), std::string::npos);
}

TEST(CommandLine, AProblemWithTheFileStillWritesWhatWasRead) {
    CommandResult result = runCommandLine(
        {QStringLiteral("--export-csv"), QStringLiteral("-"), fixture("unreadable_date.xls")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.standardError, "エラー: 5行目のデータを読めません\n3日分を読み込みました\n");
    EXPECT_EQ(std::count(result.standardOutput.begin(), result.standardOutput.end(), '\n'), 4);

    result = runCommandLine(
        {QStringLiteral("--export-csv"), QStringLiteral("-"), fixture("wrong_sheet.xls")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.standardError, "エラー: シート名を確認して下さい\n");
    EXPECT_EQ(result.standardOutput, "day,date,open,high,low,close,conversion,base,span1,span2\n");

    QTemporaryDir dir;
    result = runCommandLine({QStringLiteral("--export-csv"),
                             dir.filePath(QStringLiteral("no/such/dir.csv")),
                             fixture("examples/one_price_lf.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.standardError.find("ファイルに書き込めません"), std::string::npos);
}

TEST(CommandLine, AWrongCommandPrintsTheUsageLine) {
    const QString file = fixture("examples/one_price_lf.txt");
    const QString png = QStringLiteral("/nonexistent/out.png");
    auto render = [&](std::initializer_list<const char*> options) {
        QStringList arguments = {QStringLiteral("--render"), png};
        for (const char* option : options) arguments << QString::fromUtf8(option);
        return arguments << file;
    };
    const QStringList wrong[] = {
        {},
        {file},
        {QStringLiteral("--export-csv"), QStringLiteral("-")},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), file, file},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), QStringLiteral("--bogus"), file},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), file, QStringLiteral("--sheet")},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), QStringLiteral("--sheet"), QString(),
         file},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), QStringLiteral("--log"), file},
        render({"--size", "0x10"}),
        render({"--size", "640"}),
        render({"--days", "0"}),
        render({"--days", "15001"}),
        render({"--lagging", "left"}),
        render({"--export-csv", "-"}),
        render({"--paper", "A4"}),
        render({"--landscape"}),
        render({"--lower", "x.txt"}),
        {QStringLiteral("--export-csv"), QStringLiteral("-"), QStringLiteral("--landscape"), file},
        {QStringLiteral("--print-pdf"), QStringLiteral("x.pdf"), QStringLiteral("--size"),
         QStringLiteral("640x400"), file},
        {QStringLiteral("--print-pdf"), QStringLiteral("x.pdf"), QStringLiteral("--paper"),
         QStringLiteral("A99"), file},
        {QStringLiteral("--print-pdf"), QStringLiteral("x.pdf"), file, QStringLiteral("--lower")},
        {QStringLiteral("--print-pdf"), QStringLiteral("x.pdf"), file, QStringLiteral("--lower"),
         file, QStringLiteral("--lower"), file},
    };
    // Checked before anything is loaded or drawn: nothing is written.
    for (const QStringList& arguments : wrong) {
        CommandResult result = runCommandLine(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), 1);
        EXPECT_NE(result.standardError.find("--export-csv OUT [--sheet NAME] FILE"),
                  std::string::npos);
    }
}

TEST(CommandLine, ExportOfEachFixtureEqualsItsTable) {
    // The worked examples were computed independently; the text fixtures' tables by hand.
    struct Case {
        const char* input;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"examples/nikkei_sjis_yymmdd.txt", 0, ""},
        {"examples/one_price_lf.txt", 0, ""},
        {"examples/toyota_dates.xls", 0, ""},
        {"text/day_lines.txt", 0, ""},
        {"text/headings_only.txt", 0, ""},
        {"text/unreadable_price.txt", 1,
         "エラー: 4行目のデータを読めません\n1日分を読み込みました\n"},
        {"text/three_fields_cr.txt", 1,
         "エラー: 4行目のデータを読めません\n1日分を読み込みました\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const QString input = fixture(c.input);
        const CommandResult result =
            runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("-"), input});
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.standardError, c.message);
        EXPECT_EQ(result.standardOutput, fileBytes(input.left(input.lastIndexOf(QLatin1Char('.'))) +
                                                   QStringLiteral(".csv")));
    }
}

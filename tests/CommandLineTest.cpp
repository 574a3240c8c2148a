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

TEST(CommandLine, ExportOfEachWorkedExampleEqualsItsTable) {
    for (const char* name : {"nikkei_sjis_yymmdd", "one_price_lf", "toyota_dates"}) {
        SCOPED_TRACE(name);
        const QString base = fixture("examples/") + QString::fromUtf8(name);
        const QString input = base + (QString::fromUtf8(name) == QLatin1String("toyota_dates")
                                          ? QStringLiteral(".xls")
                                          : QStringLiteral(".txt"));
        CommandResult result =
            runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("-"), input});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.standardError, "");
        EXPECT_EQ(result.standardOutput, fileBytes(base + QStringLiteral(".csv")));
    }
}

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
    const QStringList wrong[] = {
        {},
        {file},
        {QStringLiteral("--export-csv"), QStringLiteral("-")},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), file, file},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), QStringLiteral("--bogus"), file},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), file, QStringLiteral("--sheet")},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), QStringLiteral("--sheet"), QString(),
         file},
    };
    for (const QStringList& arguments : wrong) {
        CommandResult result = runCommandLine(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), 1);
        EXPECT_NE(result.standardError.find("--export-csv OUT [--sheet NAME] FILE"),
                  std::string::npos);
    }
}

TEST(CommandLine, RenderOptionsAreCheckedBeforeAnythingIsDrawn) {
    const QString file = fixture("examples/one_price_lf.txt");
    const QString png = QStringLiteral("/nonexistent/out.png");
    const QStringList wrong[] = {
        {QStringLiteral("--render"), png, QStringLiteral("--size"), QStringLiteral("0x10"), file},
        {QStringLiteral("--render"), png, QStringLiteral("--size"), QStringLiteral("640"), file},
        {QStringLiteral("--render"), png, QStringLiteral("--days"), QStringLiteral("0"), file},
        {QStringLiteral("--render"), png, QStringLiteral("--days"), QStringLiteral("15001"), file},
        {QStringLiteral("--render"), png, QStringLiteral("--lagging"), QStringLiteral("left"),
         file},
        {QStringLiteral("--render"), png, QStringLiteral("--export-csv"), QStringLiteral("-"),
         file},
        {QStringLiteral("--export-csv"), QStringLiteral("-"), QStringLiteral("--log"), file},
    };
    for (const QStringList& arguments : wrong) {
        const CommandResult result = runCommandLine(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_NE(result.standardError.find("--render OUT.png"), std::string::npos);
    }
}

TEST(CommandLine, ExportOfEachTextFixtureEqualsItsHandMadeTable) {
    struct Case {
        const char* name;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"day_lines", 0, ""},
        {"headings_only", 0, ""},
        {"unreadable_price", 1, "エラー: 4行目のデータを読めません\n1日分を読み込みました\n"},
        {"three_fields_cr", 1, "エラー: 4行目のデータを読めません\n1日分を読み込みました\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString base = fixture("text/") + QString::fromUtf8(c.name);
        const CommandResult result = runCommandLine(
            {QStringLiteral("--export-csv"), QStringLiteral("-"), base + QStringLiteral(".txt")});
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.standardError, c.message);
        EXPECT_EQ(result.standardOutput, fileBytes(base + QStringLiteral(".csv")));
    }
}

#include "app/CommandLine.h"

#include "platform/FileAccess.h"

#include "LoaderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

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

TEST(CommandLine, TheExportReplacesOutWholeOrLeavesItAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    auto writeOut = [&] {
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("what OUT held\n");
        file.close();
        ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    };
    auto folder = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
    writeOut();
    // Nothing could be read: OUT keeps what it held, and standard output gets nothing either.
    for (const char* input : {"missing.txt", "not_a_workbook.xls", "truncated.xls"}) {
        const CommandResult result =
            runCommandLine({QStringLiteral("--export-csv"), out, fixture(input)});
        EXPECT_EQ(result.exitCode, 1) << input;
        EXPECT_EQ(fileBytes(out), "what OUT held\n") << input;
        EXPECT_EQ(
            runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("-"), fixture(input)})
                .standardOutput,
            "")
            << input;
    }
    // A load that read something replaces OUT, keeping its permissions and leaving no
    // temporary file beside it.
    const CommandResult result =
        runCommandLine({QStringLiteral("--export-csv"), out, fixture("examples/one_price_lf.txt")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(fileBytes(out), fileBytes(fixture("examples/one_price_lf.csv")));
    EXPECT_EQ(QFile::permissions(out), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(folder(), QStringList{QStringLiteral("out.csv")});

    // Through a symbolic link the file it points at is replaced; a device is written to.
    ASSERT_TRUE(QFile::link(out, dir.filePath(QStringLiteral("link.csv"))));
    EXPECT_EQ(
        runCommandLine({QStringLiteral("--export-csv"), dir.filePath(QStringLiteral("link.csv")),
                        fixture("text/day_lines.txt")})
            .exitCode,
        0);
    EXPECT_EQ(fileBytes(out), fileBytes(fixture("text/day_lines.csv")));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("link.csv"))).isSymLink());
    EXPECT_EQ(runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("/dev/null"),
                              fixture("text/day_lines.txt")})
                  .exitCode,
              0);
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
}

TEST(CommandLine, OutNamingTheDataFileIsAWrongCommand) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath(QStringLiteral("data.txt"));
    ASSERT_TRUE(QFile::copy(fixture("text/day_lines.txt"), data));
    ASSERT_TRUE(QFile::link(data, dir.filePath(QStringLiteral("link.txt"))));
    ASSERT_EQ(link(QFile::encodeName(data).constData(),
                   QFile::encodeName(dir.filePath(QStringLiteral("hard.txt"))).constData()),
              0);
    const std::string before = fileBytes(data);
    for (const QString& out :
         {data, dir.path() + QStringLiteral("/./data.txt"),
          dir.filePath(QStringLiteral("link.txt")), dir.filePath(QStringLiteral("hard.txt"))}) {
        const CommandResult result = runCommandLine({QStringLiteral("--export-csv"), out, data});
        EXPECT_EQ(result.exitCode, 2) << out.toStdString();
        EXPECT_NE(result.standardError.find("--export-csv OUT"), std::string::npos);
    }
    EXPECT_EQ(fileBytes(data), before);
}

TEST(CommandLine, AFailedWriteToStandardOutputIsReported) {
    CommandResult result = runCommandLine(
        {QStringLiteral("--export-csv"), QStringLiteral("-"), fixture("text/day_lines.txt")});
    ASSERT_EQ(result.exitCode, 0);
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_TRUE(full);
    std::FILE* errors = std::tmpfile();
    EXPECT_EQ(writeCommandOutput(result, full, errors), 1);
    std::fclose(full);
    std::rewind(errors);
    char text[256] = {};
    (void)!std::fread(text, 1, sizeof text - 1, errors);
    std::fclose(errors);
    EXPECT_STREQ(text, "エラー: ファイルに書き込めません\n-\n");

    // The problem of the load stays, and the status says the worse.
    result.exitCode = 1;
    result.standardError = "エラー: 4行目のデータを読めません\n1日分を読み込みました\n";
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    EXPECT_EQ(writeCommandOutput(result, nowhere, nowhere), 1);
    std::fclose(nowhere);
}

TEST(CommandLine, FileNamesThatAreNotUtf8StillOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray text = folder + "/d\xFF\xFE.txt", workbook = folder + "/w\xE9.xls",
                     out = folder + "/o\x81.csv";
    ASSERT_EQ(link(QFile::encodeName(fixture("text/day_lines.txt")).constData(), text.constData()),
              0);
    ASSERT_EQ(link(QFile::encodeName(fixture("numbers.xls")).constData(), workbook.constData()), 0);
    CommandResult result =
        runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("-"), decodeFileName(text)});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(result.standardOutput, fileBytes(fixture("text/day_lines.csv")));
    result = runCommandLine(
        {QStringLiteral("--export-csv"), decodeFileName(out), decodeFileName(workbook)});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(access(out.constData(), F_OK), 0);
}

TEST(FileNames, KeepTheirBytesThroughAQString) {
    const QByteArray names[] = {"plain.txt", "日経.txt",     "d\xFF\xFE.txt",        "\x80",
                                "a\xE6\x97", "\xED\xA0\x80", "\xF0\x9F\x98\x80.xls", ""};
    for (const QByteArray& name : names)
        EXPECT_EQ(encodeFileName(decodeFileName(name)), name) << name.toHex().constData();
    EXPECT_EQ(decodeFileName("日経.txt"), QStringLiteral("日経.txt"));
    EXPECT_EQ(encodeFileName(QStringLiteral("日経.txt")), QByteArray("日経.txt"));
}

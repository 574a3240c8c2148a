#include "app/CommandLine.h"

#include "system/FileAccess.h"

#include "LoaderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace nimbrel {

namespace {

std::string fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

QString fixture(const char* name) {
    return kFixtures + QLatin1Char('/') + QString::fromUtf8(name);
}

CommandResult exportCsv(const QString& out, const QString& input) {
    return runCommandLine({QStringLiteral("--export-csv"), out, input});
}

long lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

} // namespace

TEST(CommandLine, AWrongCommandPrintsTheUsageLineAndDoesNothing) {
    // Names ending in .txt are in a folder holding data.txt, a link to it and a hard link to
    // it: OUT naming the data file by any name is a wrong command too. '' is an empty argument.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath(QStringLiteral("data.txt"));
    ASSERT_TRUE(QFile::copy(fixture("text/day_lines.txt"), data));
    ASSERT_TRUE(QFile::link(data, dir.filePath(QStringLiteral("link.txt"))));
    ASSERT_EQ(link(QFile::encodeName(data).constData(),
                   QFile::encodeName(dir.filePath(QStringLiteral("hard.txt"))).constData()),
              0);
    const char* wrong[] = {
        "",
        "data.txt",
        "--export-csv -",
        "--export-csv - data.txt data.txt",
        "--export-csv - --bogus data.txt",
        "--export-csv - data.txt --sheet",
        "--export-csv - --sheet '' data.txt",
        "--export-csv - --log data.txt",
        "--export-csv data.txt data.txt",
        "--export-csv ./data.txt data.txt",
        "--export-csv link.txt data.txt",
        "--export-csv hard.txt data.txt",
        "--render /nonexistent/x.png --size 0x10 data.txt",
        "--render /nonexistent/x.png --size 640 data.txt",
        "--render /nonexistent/x.png --days 0 data.txt",
        "--render /nonexistent/x.png --days 15001 data.txt",
        "--render /nonexistent/x.png --lagging left data.txt",
        "--render /nonexistent/x.png --export-csv - data.txt",
        "--render /nonexistent/x.png --paper A4 data.txt",
        "--print-pdf /nonexistent/x.pdf --size 640x400 data.txt",
        "--print-pdf /nonexistent/x.pdf --paper A99 data.txt",
        "--print-pdf /nonexistent/x.pdf data.txt --lower",
        "--print-pdf /nonexistent/x.pdf data.txt --lower data.txt --lower data.txt"};
    for (const char* command : wrong) {
        QStringList arguments;
        for (const QString& word :
             QString::fromUtf8(command).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            arguments << (word.endsWith(QLatin1String(".txt")) ? dir.filePath(word)
                          : word == QLatin1String("''")        ? QString()
                                                               : word);
        const CommandResult result = runCommandLine(arguments);
        EXPECT_EQ(result.exitCode, 2) << command;
        EXPECT_EQ(result.standardOutput, "") << command;
        EXPECT_EQ(lineCount(result.standardError), 1) << command;
        EXPECT_NE(result.standardError.find("--export-csv OUT [--sheet NAME] FILE"),
                  std::string::npos);
    }
    EXPECT_EQ(fileBytes(data), fileBytes(fixture("text/day_lines.txt")));
}

TEST(CommandLine, ExportOfEachFixtureEqualsItsTable) {
    // The worked examples were computed independently; the text fixtures' tables by hand.
    // A file of no day writes no table at all.
    const struct {
        const char* input;
        int exitCode;
        const char* message;
    } cases[] = {
        {"examples/nikkei_sjis_yymmdd.txt", 0, ""},
        {"examples/one_price_lf.txt", 0, ""},
        {"examples/toyota_dates.xls", 0, ""},
        {"text/day_lines.txt", 0, ""},
        {"text/headings_only.txt", 1, "エラー: データがありません\n"},
        {"text/unreadable_price.txt", 1,
         "エラー: 4行目のデータを読めません\n1日分を読み込みました\n"},
        {"text/three_fields_cr.txt", 1,
         "エラー: 4行目のデータを読めません\n1日分を読み込みました\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const QString input = fixture(c.input);
        const CommandResult result = exportCsv(QStringLiteral("-"), input);
        EXPECT_EQ(result.exitCode, c.exitCode);
        const QString table = input.left(input.lastIndexOf(QLatin1Char('.'))) + ".csv";
        if (QFileInfo::exists(table)) {
            EXPECT_EQ(result.standardError, c.message);
            EXPECT_EQ(result.standardOutput, fileBytes(table));
        } else {
            EXPECT_EQ(result.standardError, c.message + input.toStdString() + "\n");
            EXPECT_EQ(result.standardOutput, "");
        }
    }
}

TEST(CommandLine, TheExportReplacesOutWholeOrLeavesItAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    {
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("what OUT held\n");
        file.close();
        ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }
    // Nothing could be read: OUT keeps what it held, and standard output gets nothing either.
    for (const char* input : {"missing.txt", "not_a_workbook.xls"}) {
        EXPECT_EQ(exportCsv(out, fixture(input)).exitCode, 1) << input;
        EXPECT_EQ(fileBytes(out), "what OUT held\n") << input;
        EXPECT_EQ(exportCsv(QStringLiteral("-"), fixture(input)).standardOutput, "") << input;
    }
    // The sheet asked for replaces OUT, which keeps its permissions and gets no temporary file
    // beside it.
    CommandResult result =
        runCommandLine({QStringLiteral("--sheet"), QStringLiteral("prices"),
                        fixture("two_sheets.xls"), QStringLiteral("--export-csv"), out});
    EXPECT_EQ(result.exitCode, 0);
    const std::string table = fileBytes(out);
    EXPECT_EQ(lineCount(table), 11);
    EXPECT_NE(table.find("\n1,20100104,497.6,501.8,494,495.2,"), std::string::npos);
    EXPECT_EQ(QFile::permissions(out), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.csv")});

    // A problem with the file still writes what was read.
    result = exportCsv(out, fixture("unreadable_date.xls"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lineCount(fileBytes(out)), 4);

    // Through a symbolic link the file it points at is replaced; a device is written to.
    const QString link = dir.filePath(QStringLiteral("link.csv"));
    ASSERT_TRUE(QFile::link(out, link));
    EXPECT_EQ(exportCsv(link, fixture("text/day_lines.txt")).exitCode, 0);
    EXPECT_EQ(fileBytes(out), fileBytes(fixture("text/day_lines.csv")));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(exportCsv(QStringLiteral("/dev/null"), fixture("text/day_lines.txt")).exitCode, 0);
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());

    result =
        exportCsv(dir.filePath(QStringLiteral("no/such/dir.csv")), fixture("text/day_lines.txt"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.standardError.find("ファイルに書き込めません"), std::string::npos);
}

TEST(CommandLine, AFailedWriteToStandardOutputIsReported) {
    const CommandResult result = exportCsv(QStringLiteral("-"), fixture("text/day_lines.txt"));
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
}

TEST(FileNames, KeepTheirBytesSoThatNamesThatAreNotUtf8StillOpen) {
    const QByteArray names[] = {"plain.txt", "日経.txt",     "d\xFF\xFE.txt",        "\x80",
                                "a\xE6\x97", "\xED\xA0\x80", "\xF0\x9F\x98\x80.xls", ""};
    for (const QByteArray& name : names)
        EXPECT_EQ(encodeFileName(decodeFileName(name)), name) << name.toHex().constData();
    EXPECT_EQ(decodeFileName("日経.txt"), QStringLiteral("日経.txt"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray text = folder + "/d\xFF\xFE.txt", workbook = folder + "/w\xE9.xls",
                     out = folder + "/o\x81.csv";
    ASSERT_EQ(link(QFile::encodeName(fixture("text/day_lines.txt")).constData(), text.constData()),
              0);
    ASSERT_EQ(link(QFile::encodeName(fixture("numbers.xls")).constData(), workbook.constData()), 0);
    CommandResult result = exportCsv(QStringLiteral("-"), decodeFileName(text));
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(result.standardOutput, fileBytes(fixture("text/day_lines.csv")));
    result = exportCsv(decodeFileName(out), decodeFileName(workbook));
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(access(out.constData(), F_OK), 0);
}

} // namespace nimbrel

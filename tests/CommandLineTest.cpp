#include "command/CommandArguments.h"
#include "system/FileAccess.h"

#include "CommandRuns.h"
#include "LoaderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace nimbrel {

namespace {

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
        "--render data.txt data.txt",
        "--render link.txt data.txt",
        "--print-pdf hard.txt data.txt",
        "--print-pdf link.txt other.txt --lower data.txt",
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
        EXPECT_EQ(result.standardError, usageText()) << command;
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

// The three outputs, each as a command writing OUT from FILE.
struct Output {
    const char* name;
    const char* job;
    const char* extension;
    // What a file written whole starts and ends with.
    const char* start;
    const char* end;
};
const Output kOutputs[] = {{"export", "--export-csv", ".csv", "day,date,", "\n"},
                           {"render", "--render", ".png", "\x89PNG", "IEND\xAE\x42\x60\x82"},
                           {"print", "--print-pdf", ".pdf", "%PDF", "%%EOF\n"}};

CommandResult write(const Output& output, const QString& out, const QString& input) {
    return runCommandLine({QString::fromLatin1(output.job), out, input});
}

void expectWriteFailure(const Output& output, const CommandResult& result) {
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.standardError.find(output.job == std::string("--print-pdf")
                                            ? "印刷できません"
                                            : "ファイルに書き込めません"),
              std::string::npos)
        << result.standardError;
}

// While it lives, a write past `bytes` into any file fails, as on a disk that fills up.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    void (*previous_)(int);
    rlimit saved_{};
};

bool isWhole(const Output& output, const std::string& bytes) {
    return bytes.starts_with(output.start) && bytes.ends_with(output.end);
}

TEST(CommandLine, AnOutputIsWrittenOnlyFromALoadThatGaveDays) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile(dir.filePath(QStringLiteral("empty.txt"))).open(QIODevice::WriteOnly);
    // Each file gives no day, with its message; the names swapped (FILE the missing chart.png)
    // among them.
    const std::pair<QString, const char*> inputs[] = {
        {dir.filePath(QStringLiteral("chart.png")), "ファイルを開けません"},
        {dir.filePath(QStringLiteral("empty.txt")), "データがありません"},
        {fixture("text/headings_only.txt"), "データがありません"},
        {fixture("wrong_sheet.xls"), "シート名を確認して下さい"},
        {fixture("truncated.xls"), "ファイルを読めません"}};
    for (const Output& output : kOutputs) {
        const QString out = dir.filePath(QStringLiteral("prices.txt"));
        QFile held(out);
        ASSERT_TRUE(held.open(QIODevice::WriteOnly) && held.write("971109 1500\n") == 12);
        held.close();
        for (const auto& [input, message] : inputs) {
            SCOPED_TRACE(std::string(output.name) + " of " + input.toStdString());
            const CommandResult result = write(output, out, input);
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_NE(result.standardError.find(message), std::string::npos)
                << result.standardError;
            EXPECT_EQ(fileBytes(out), "971109 1500\n");
        }
        EXPECT_EQ(exportCsv(QStringLiteral("-"), fixture("wrong_sheet.xls")).standardOutput, "");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  (QStringList{QStringLiteral("empty.txt"), QStringLiteral("prices.txt")}));
    }
}

TEST(CommandLine, AnOutputReplacesItsTargetWholeKeepingNameLinkAndPermissions) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = fixture("text/day_lines.txt");
    for (const Output& output : kOutputs) {
        SCOPED_TRACE(output.name);
        const QString ext = QString::fromLatin1(output.extension);
        // An older file keeps its permissions and gets no temporary file beside it; a link
        // keeps pointing at the file it names, which is the one replaced.
        const QString target = dir.filePath(QStringLiteral("target") + ext);
        const QString link = dir.filePath(QStringLiteral("link") + ext);
        {
            QFile older(target);
            ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
        }
        ASSERT_TRUE(
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        ASSERT_TRUE(QFile::link(target, link));
        EXPECT_EQ(write(output, link, input).exitCode, 0);
        EXPECT_TRUE(isWhole(output, fileBytes(target)));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        // A write that fails partway leaves the file as it was, and nothing beside it.
        const std::string written = fileBytes(target);
        {
            const FileSizeLimit full(64);
            expectWriteFailure(output, write(output, link, input));
        }
        EXPECT_EQ(fileBytes(target), written);
        EXPECT_EQ(QFile::permissions(target), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::ReadUser |
                                                  QFile::WriteUser);
        // A name that is not UTF-8 is written by its bytes.
        const QByteArray bytes = QFile::encodeName(dir.path()) + "/o\x81" + output.extension;
        EXPECT_EQ(write(output, decodeFileName(bytes), input).exitCode, 0);
        EXPECT_EQ(access(bytes.constData(), F_OK), 0);
        // A device is written to; a folder that is not there is reported.
        EXPECT_EQ(write(output, QStringLiteral("/dev/null"), input).exitCode, 0);
        expectWriteFailure(output,
                           write(output, dir.filePath(QStringLiteral("no/such") + ext), input));
        ASSERT_TRUE(QFile::remove(link) && QFile::remove(target) && unlink(bytes.constData()) == 0);
        EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::Files | QDir::Hidden | QDir::System));
    }
    // A problem with the file still writes what was read.
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    EXPECT_EQ(exportCsv(out, fixture("unreadable_date.xls")).exitCode, 1);
    EXPECT_EQ(lineCount(fileBytes(out)), 4);
}

TEST(CommandLine, TheAnalysisWritesItsItemsOnBarsOfTheDaysGiven) {
    // Three days of a rise: A's low 4112, B's high 4789, C's low 4487 (a published example),
    // then three more days of a fall from 78.668 to 75.406 and up to 77.768, and a day more.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("swing.txt"));
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("swing\n\n"
               "20240102 4150 4200 4112 4190\n20240103 4700 4789 4700 4750\n"
               "20240104 4500 4600 4487 4520\n"
               "20240105 78 78.668 77 77.5\n20240108 76 76.5 75.406 76\n"
               "20240109 77 77.768 76.9 77.1\n20240110 77 77.5 76.5 77\n");
    text.close();
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const struct {
        QStringList options;
        int exitCode;
        const char* output;
    } cases[] = {
        {{"--targets", "20240102,20240103,20240104"}, 0, "N 5164\nV 5091\nE 5466\nNT 4862\n"},
        // B's high below A's: a fall, from A's high, B's low and C's high.
        {{"--targets", "2024-01-05,2024-01-08,2024-01-09"},
         0,
         "N 74.51\nV 73.04\nE 72.14\nNT 76.87\n"},
        {{"--time-from", "20240108", "--equal-count", "20240102,20240104"},
         0,
         // The pivot is bar 5 of 7: "9 bars on" is bar 13, the 6th slot after the newest.
         "9 +6\n17 +14\n26 +23\n33 +30\n42 +39\n51 +48\n65 +62\n76 +73\n83 +80\n97 +94\n"
         "101 +98\n129 +126\n172 +169\n226 +223\n257 +254\n3 20240108\n3 20240110\n"},
        // A weekly bar holds the date: the week of 2024-01-08 ends on the 10th.
        {{"--bars", "weekly", "--equal-count", "20240102,20240108"}, 0, "2 +1\n2 +2\n"},
        {{"--equal-count", "20240108,20240110"}, 0, "3 +2\n3 +4\n"}, // to the newest day
        {{"--targets", "20240102,20240106,20240104"}, 2, ""},        // the 6th is no trading day
        {{"--time-from", "2024-02-30"}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
        const CommandResult result = runCommandLine(
            QStringList{QStringLiteral("--export-csv"), out} + c.options + QStringList{file});
        EXPECT_EQ(result.exitCode, c.exitCode) << result.standardError;
        EXPECT_EQ(result.standardOutput, c.output);
    }
    // The items cannot share standard output with the table.
    EXPECT_EQ(runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("-"),
                              QStringLiteral("--time-from"), QStringLiteral("20240102"), file})
                  .exitCode,
              2);
    // Weekly bars: one row a bar, dated by its last day.
    const CommandResult weekly =
        runCommandLine({QStringLiteral("--export-csv"), QStringLiteral("-"),
                        QStringLiteral("--bars"), QStringLiteral("weekly"), file});
    EXPECT_EQ(weekly.standardOutput, "day,date,open,high,low,close,conversion,base,span1,span2\n"
                                     "1,20240105,4150,4789,77,77.5,0,0,0,0\n"
                                     "2,20240110,76,77.768,75.406,77,0,0,0,0\n");
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

#include "data/TextDataFile.h"

#include "data/LoadFailures.h"

#include "LoaderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

std::optional<LoadFailure> load(PriceSeries& series, std::string_view bytes,
                                TextEnd end = TextEnd::Whole) {
    return loadTextData(series, bytes, end);
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return dir.path();
}

} // namespace

TEST(TextLoader, ReadsHeadingLinesWithoutTrailingBlanks) {
    auto series = emptySeries();
    // Shift-JIS: "日経平均　日足" with three blanks and a TAB after it, then "単位 円".
    EXPECT_FALSE(load(*series, "  \x93\xfa\x8c\x6f\x95\xbd\x8b\xcf\x81\x40\x93\xfa\x91\xab   \t\r\n"
                               "\x92\x50\x88\xca \x89\x7e\r\n"));
    EXPECT_EQ(series->titleLine1, QStringLiteral("  日経平均　日足"));
    EXPECT_EQ(series->titleLine2, QStringLiteral("単位 円"));
    EXPECT_EQ(series->dataCount, 0);

    // UTF-8 with and without a byte-order mark; the mark is not part of the heading.
    EXPECT_FALSE(load(*series, "\xEF\xBB\xBF日経平均\nclose\n"));
    EXPECT_EQ(series->titleLine1, QStringLiteral("日経平均"));
    EXPECT_FALSE(load(*series, "ソフト\r\n\t \r\n"));
    EXPECT_EQ(series->titleLine1, QStringLiteral("ソフト"));
    EXPECT_EQ(series->titleLine2, QString());

    // Fewer than two lines: the headings there are, no days and no message.
    EXPECT_FALSE(load(*series, "only one"));
    EXPECT_EQ(series->titleLine1, QStringLiteral("only one"));
    EXPECT_EQ(series->titleLine2, QString());
    EXPECT_FALSE(load(*series, ""));
    EXPECT_EQ(series->titleLine1, QString());
    EXPECT_EQ(series->dataCount, 0);
}

TEST(TextLoader, TheLastDayLineDecidesThePriceFieldCount) {
    // The separators, line ends and dates of day lines are checked on tests/fixtures/text.
    auto series = emptySeries();
    EXPECT_FALSE(load(*series, "t1\nt2\n971109 1500 1520 1490 1510\n971110 1512\n"));
    EXPECT_EQ(series->priceFieldCount, 1);
    EXPECT_EQ(dayText(*series, 2), "19971110 1512 1512 1512 1512");
    EXPECT_FALSE(load(*series, "t1\nt2\n971110 1512\n971111 1 2 0.5 1.5\n"));
    EXPECT_EQ(series->priceFieldCount, 4);
    EXPECT_TRUE(restIsZero(*series));
}

TEST(TextLoader, StopsAtAnUnreadableDayAndKeepsTheDaysBefore) {
    struct Case {
        const char* dayLines;
        int line;
        int kept;
    };
    const Case cases[] = {
        {"971109 1500 1520 1490 1510\n971110 15OO 1520 1490 1510\n971111 1\n", 4, 1},
        {"971109 1500\n971110\n", 4, 1},                       // one field
        {"971109 1500\n\n971110 1 2 3\n971111 1\n", 5, 1},     // three fields, after a blank line
        {"971110 1 2 3 x\n", 3, 0},                            // close is not a number
        {"971109 1500\n971110 1 2 3 4\n971111 1 2 3\n", 5, 2}, // four fields
        {"1e300 1500\n", 3, 0},                                // a date too large to hold
    };
    for (const Case& c : cases) {
        auto series = emptySeries();
        std::optional<LoadFailure> failure = load(*series, std::string("h1\nh2\n") + c.dayLines);
        ASSERT_TRUE(failure) << c.dayLines;
        EXPECT_EQ(failure->problem, LoadProblem::UnreadableDay);
        EXPECT_EQ(failure->message.title, QStringLiteral("エラー"));
        EXPECT_EQ(failure->message.icon, MessageIcon::Exclamation);
        EXPECT_EQ(failure->message.text,
                  QStringLiteral("%1行目のデータを読めません\n%2日分を読み込みました")
                      .arg(c.line)
                      .arg(c.kept));
        EXPECT_EQ(series->dataCount, c.kept) << c.dayLines;
        EXPECT_TRUE(restIsZero(*series));
    }
}

TEST(TextLoader, KeepsTheFirst15000DaysOfALongerFile) {
    std::string exactly = "h1\r\nh2\r\n";
    for (int d = 1; d <= kMaxDays; ++d) exactly += std::to_string(19000000 + d) + " 100\r\n";
    auto series = emptySeries();
    EXPECT_FALSE(load(*series, exactly + "\r\n  \r\n"));
    EXPECT_EQ(series->dataCount, kMaxDays);
    EXPECT_EQ(series->priceTable[kMaxDays].date, Fixed4::fromWhole(19000000 + kMaxDays));

    std::optional<LoadFailure> failure = load(*series, exactly + "20260101 x\r\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->problem, LoadProblem::TooManyDays);
    EXPECT_EQ(failure->message.text,
              QStringLiteral("データが15000日を超えています\n最初の15000日分を読み込みました"));
    EXPECT_EQ(series->dataCount, kMaxDays);
    EXPECT_TRUE(restIsZero(*series));
}

TEST(TextLoader, ALoadLeavesNoTraceOfTheSeriesBefore) {
    auto series = emptySeries();
    std::string longer = "a\nb\n";
    for (int d = 1; d <= 80; ++d) longer += "20200101 " + std::to_string(d) + "\n";
    EXPECT_FALSE(load(*series, longer));
    series->ichimokuTable[70].span2 = Fixed4::fromWhole(5);
    EXPECT_FALSE(load(*series, "c\nd\n20210101 7 8 6 7\n"));
    EXPECT_EQ(series->dataCount, 1);
    EXPECT_EQ(series->titleLine1, QStringLiteral("c"));
    EXPECT_TRUE(restIsZero(*series));
}

TEST(TextLoader, LoadsFilesByNameAndReportsOnesThatCannotBeOpened) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeFile(dir, QStringLiteral("data.xls.txt"), "a\nb\n971109 1500\n");
    auto series = emptySeries();
    EXPECT_FALSE(loadDataFile(*series, dir.path() + QLatin1Char('/'),
                              QStringLiteral("data.xls.txt"), QStringLiteral("sheet1$")));
    EXPECT_EQ(series->dataCount, 1);

    std::optional<LoadFailure> failure =
        loadDataFile(*series, dir.path(), QStringLiteral("missing.txt"), QStringLiteral("sheet1$"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->problem, LoadProblem::CannotOpen);
    EXPECT_EQ(failure->message.title, QStringLiteral("エラー"));
    EXPECT_EQ(failure->message.text, QStringLiteral("ファイルを開けません\n") + dir.path() +
                                         QStringLiteral("/missing.txt"));
    EXPECT_EQ(series->dataCount, 0);
    EXPECT_TRUE(restIsZero(*series));

    // A directory is not a data file.
    failure = loadDataFile(*series, QDir::tempPath(), QString(), QStringLiteral("sheet1$"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->problem, LoadProblem::CannotOpen);
}

TEST(TextLoader, ReadsOnlyRegularFilesAndNeverWaitsOnOthers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo.txt"))).constData(), 0600),
              0);
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = QFile::encodeName(dir.filePath(QStringLiteral("socket.txt")));
    std::strncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const QString places[][2] = {
        {dir.path(), QStringLiteral("fifo.txt")},
        {dir.path(), QStringLiteral("socket.txt")},
        {QStringLiteral("/dev"), QStringLiteral("zero")},
        {QStringLiteral("/dev"), QStringLiteral("urandom")},
        {QStringLiteral("/"), QStringLiteral("tmp")},
    };
    for (const auto& place : places) {
        auto series = emptySeries();
        const auto started = std::chrono::steady_clock::now();
        const std::optional<LoadFailure> failure =
            loadDataFile(*series, place[0], place[1], QStringLiteral("sheet1$"));
        ASSERT_TRUE(failure) << place[1].toStdString();
        EXPECT_EQ(failure->problem, LoadProblem::CannotOpen);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    }
    close(listening);
}

TEST(TextLoader, ReadsTheFileOnlyUpToTheDayPastTheLast) {
    // An 8 GB file (sparse: it takes no disk) whose first lines are 15001 days: the load reads
    // about a megabyte of it.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string days = "h1\r\nh2\r\n";
    for (int d = 1; d <= kMaxDays + 1; ++d) days += std::to_string(19000000 + d) + " 100\r\n";
    const QString path = dir.filePath(QStringLiteral("huge.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(days.data(), static_cast<qint64>(days.size()));
        ASSERT_TRUE(file.resize(qint64(8) << 30));
    }
    auto series = emptySeries();
    const auto started = std::chrono::steady_clock::now();
    const std::optional<LoadFailure> failure =
        loadDataFile(*series, dir.path(), QStringLiteral("huge.txt"), QStringLiteral("sheet1$"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->problem, LoadProblem::TooManyDays);
    EXPECT_EQ(series->dataCount, kMaxDays);

    // Where the reading stops, whatever pieces the file comes in: just into the 15001st day line
    // (blank lines do not count); at a DOS end-of-file byte; nowhere in a shorter text.
    std::string blanksBetween = "h1\nh2\n";
    for (int d = 1; d <= kMaxDays; ++d) blanksBetween += "1 2\r\n \t\r\r\n";
    const size_t lastDayAt = blanksBetween.size() + 2;
    blanksBetween += "\t 3 4\n";
    const struct {
        std::string text;
        bool ends;
        size_t end;
        TextEnd how;
    } cases[] = {
        {blanksBetween, true, lastDayAt + 1, TextEnd::Stopped},
        {"h1\r\nh2\r\n1 2\r\n\x1A 3 4\r\n", true, 13, TextEnd::Whole},
        {"\x1A", true, 0, TextEnd::Whole},
        {"h1\r\nh2\r\n1 2\r\n3 4", false, 0, TextEnd::Whole},
    };
    for (const auto& c : cases) {
        for (size_t piece : {size_t(1), size_t(3), c.text.size()}) {
            TextExtent extent;
            std::string read;
            bool ended = false;
            for (size_t at = 0; at < c.text.size() && !ended; at += piece) {
                read += c.text.substr(at, piece);
                ended = extent.scan(read);
            }
            EXPECT_EQ(ended, c.ends) << piece;
            if (!ended) continue;
            EXPECT_EQ(extent.end(), c.end) << piece;
            EXPECT_EQ(extent.how(), c.how) << piece;
        }
    }
}

TEST(TextLoader, ADosEndOfFileByteEndsTheText) {
    auto series = emptySeries();
    EXPECT_FALSE(load(*series, "h1\r\nh2\r\n971109 1500\r\n\x1A\x1A garbage \x81\r\n"));
    EXPECT_EQ(series->dataCount, 1);
    EXPECT_FALSE(load(*series, "h1\x1A\r\nh2\r\n971109 1500\r\n"));
    EXPECT_EQ(series->titleLine1, QStringLiteral("h1"));
    EXPECT_EQ(series->dataCount, 0);
}

TEST(TextLoader, APartReadIsToldFromTheLinesReadWhole) {
    // Stopped at the day past the last, or cut at the byte limit: the line begun there is never
    // read as a day, and its bytes do not decide the encoding: the UTF-8 headings stay UTF-8
    // although the cut falls inside a character.
    const std::string headings = "日経平均\r\n単位：円\r\n971109 1500\r\n";
    auto series = emptySeries();
    std::optional<LoadFailure> failure = load(*series, headings + "\xE6\x97", TextEnd::Stopped);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->problem, LoadProblem::TooManyDays);
    EXPECT_EQ(series->titleLine1, QStringLiteral("日経平均"));

    failure = loadTextData(*series, headings + "971110 15\xE6\x97", TextEnd::Cut);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message.text,
              QStringLiteral("4行目のデータを読めません\n1日分を読み込みました"));
    EXPECT_EQ(series->titleLine2, QStringLiteral("単位：円"));
    EXPECT_EQ(series->dataCount, 1);

    failure = loadTextData(*series, "a heading longer than the limit", TextEnd::Cut);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message.text,
              QStringLiteral("1行目のデータを読めません\n0日分を読み込みました"));
}

TEST(TextLoader, AFileLongerThanTheByteLimitIsCutThereWithAMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("long.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("h1\nh2\n971109 1500\n971110 1500 ");
    file.write(QByteArray(static_cast<qsizetype>(kMaxTextBytes), 'x'));
    file.close();
    auto series = emptySeries();
    const std::optional<LoadFailure> failure =
        loadDataFile(*series, dir.path(), QStringLiteral("long.txt"), QStringLiteral("sheet1$"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message.text,
              QStringLiteral("4行目のデータを読めません\n1日分を読み込みました"));
    EXPECT_EQ(series->dataCount, 1);
}

TEST(TextLoader, DecimalCommasAreUnreadableNotHundredsOfTimesTooLarge) {
    auto series = emptySeries();
    EXPECT_FALSE(load(*series, "h1\nh2\n971109 1,500.25 12,345,678 1,000 1,234\n"));
    EXPECT_EQ(dayText(*series, 1), "19971109 1500.25 12345678 1000 1234");
    for (const char* price : {"1,5", "1508,45", "1,00", "1,000,0000"}) {
        const std::optional<LoadFailure> failure =
            load(*series, std::string("h1\nh2\n971109 1500\n971110 ") + price + "\n");
        ASSERT_TRUE(failure) << price;
        EXPECT_EQ(failure->message.text,
                  QStringLiteral("4行目のデータを読めません\n1日分を読み込みました"));
    }
    // Line numbers past 2^31 still print whole.
    EXPECT_EQ(unreadableDayFailure(int64_t(5) << 30, 3).message.text,
              QStringLiteral("5368709120行目のデータを読めません\n3日分を読み込みました"));
}

TEST(TextLoader, AFileRewrittenDuringTheLoadNeverCrashesIt) {
    // A download job rewriting the file: it shrinks and grows while loads read it. A load may
    // see any part of either version, but the program must not die (a mapped file did, of
    // SIGBUS, in about one load in five).
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string text = "h1\nh2\n";
    for (int d = 1; d <= 5000; ++d) text += "19700101 1500.25 1510 1490 1500\n";
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("moving.txt")));
    std::atomic<bool> done = false;
    std::thread writer([&] {
        while (!done) {
            const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd < 0) continue;
            for (size_t at = 0; at < text.size() && !done; at += 4096)
                (void)!write(fd, text.data() + at, std::min<size_t>(4096, text.size() - at));
            close(fd);
        }
    });
    auto series = emptySeries();
    for (int i = 0; i < 200; ++i) {
        (void)loadDataFile(*series, dir.path(), QStringLiteral("moving.txt"),
                           QStringLiteral("sheet1$"));
        EXPECT_LE(series->dataCount, 5000);
    }
    done = true;
    writer.join();
}

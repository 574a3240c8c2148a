#include "data/TextDataFile.h"

#include "LoaderTestSupport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace nimbrel {

namespace {

QString unreadable(int line, int kept) {
    return QStringLiteral("%1行目のデータを読めません\n%2日分を読み込みました").arg(line).arg(kept);
}

const QString kTooMany =
    QStringLiteral("データが15000日を超えています\n最初の15000日分を読み込みました");

// The date of the nth day of a made-up file: one a calendar day from 1900-01-01 on.
int nthDate(int n) {
    const QDate date = QDate(1900, 1, 1).addDays(n - 1);
    return date.year() * 10000 + date.month() * 100 + date.day();
}

// The file's day lines, `count` of them, after two headings.
std::string manyDays(int count) {
    std::string text = "h1\r\nh2\r\n";
    for (int d = 1; d <= count; ++d) text += std::to_string(nthDate(d)) + " 100\r\n";
    return text;
}

} // namespace

TEST(TextLoader, ReadsTheHeadingsAndTheDaysUpToAnUnreadableOne) {
    // The separators, line ends and dates of day lines are in the tests/fixtures/text exports.
    const struct {
        std::string text;
        const char* title1;
        const char* title2;
        int days, fields;
        int unreadableLine = 0;
    } cases[] = {
        // Shift-JIS: "日経平均　日足" with blanks and a TAB after it, then "単位 円".
        {"  \x93\xfa\x8c\x6f\x95\xbd\x8b\xcf\x81\x40\x93\xfa\x91\xab   \t\r\n\x92\x50\x88\xca "
         "\x89\x7e\r\n",
         "  日経平均　日足", "単位 円", 0, 0},
        {"\xEF\xBB\xBF日経平均\nclose\n", "日経平均", "close", 0, 0},
        {"ソフト\r\n\t \r\n", "ソフト", "", 0, 0},
        {"only one", "only one", "", 0, 0},
        {"", "", "", 0, 0},
        // The last day line decides whether the days have one price or four.
        {"t1\nt2\n971109 1500 1520 1490 1510\n971110 1512\n", "t1", "t2", 2, 1},
        {"t1\nt2\n971110 1512\n971111 1 2 0.5 1.5\n", "t1", "t2", 2, 4},
        // A DOS end-of-file byte ends the text.
        {"h1\r\nh2\r\n971109 1500\r\n\x1A\x1A garbage \x81\r\n", "h1", "h2", 1, 1},
        {"h1\x1A\r\nh2\r\n971109 1500\r\n", "h1", "", 0, 0},
        // An unreadable day keeps the days before it: one field; three, after a blank line; a
        // close that is not a number; four fields; a date too large to hold.
        {"h1\nh2\n971109 1500\n971110\n", "h1", "h2", 1, 1, 4},
        {"h1\nh2\n971109 1500\n\n971110 1 2 3\n971111 1\n", "h1", "h2", 1, 1, 5},
        {"h1\nh2\n971110 1 2 3 x\n", "h1", "h2", 0, 0, 3},
        {"h1\nh2\n971109 1500\n971110 1 2 3 4\n971111 1 2 3\n", "h1", "h2", 2, 4, 5},
        {"h1\nh2\n1e300 1500\n", "h1", "h2", 0, 0, 3},
    };
    for (const auto& c : cases) {
        auto series = emptySeries();
        const std::optional<LoadFailure> failure = loadTextData(*series, c.text);
        EXPECT_EQ(failure ? failure->message.text : QString(),
                  c.unreadableLine ? unreadable(c.unreadableLine, c.days) : QString())
            << c.text;
        if (failure) {
            EXPECT_EQ(failure->message.title, QStringLiteral("エラー"));
            EXPECT_EQ(failure->message.icon, MessageIcon::Exclamation);
        }
        EXPECT_EQ(series->titleLine1, QString::fromUtf8(c.title1)) << c.text;
        EXPECT_EQ(series->titleLine2, QString::fromUtf8(c.title2)) << c.text;
        EXPECT_EQ(series->dataCount, c.days) << c.text;
        EXPECT_EQ(series->priceFieldCount, c.fields) << c.text;
        EXPECT_TRUE(restIsZero(*series)) << c.text;
    }
}

TEST(TextLoader, ADateIsARealDayAndNumbersMayBeWrittenWide) {
    // Each third line after two headings: the date it gives, or "-" for an unreadable day.
    const std::pair<const char*, const char*> lines[] = {
        {"２０２３０１０９ 1500", "20230109"}, // full-width digits (UTF-8)
        {"\x82\x51\x82\x4f\x82\x51\x82\x52\x82\x4f\x82\x50\x82\x4f\x82\x58 1500",
         "20230109"},                               // and in code page 932
        {"　20230109\t１，５００．５", "20230109"}, // an ideographic space, a wide price
        {"2023/01/04 1500", "20230104"},
        {"23-01-04 1500", "20230104"},
        {"\xEF\xBB\xBF"
         "20230109 1500",
         "20230109"}, // a mark where files were joined: unseen
        {"2023O106 1500", "-"},
        {"平均 1500.5", "-"}, // a summary line
        {"20230230 1500", "-"},
        {"000000 1500", "-"},
        {"19971110.5 1500", "-"},
        {"1050110 1500", "-"},
    };
    for (const auto& [line, date] : lines) {
        SCOPED_TRACE(line);
        auto series = emptySeries();
        const std::optional<LoadFailure> failure =
            loadTextData(*series, std::string("h1\nh2\n19991231 1\n") + line + "\n");
        if (std::string(date) == "-") {
            ASSERT_TRUE(failure);
            EXPECT_EQ(failure->message.text, unreadable(4, 1));
        } else {
            EXPECT_FALSE(failure);
            EXPECT_EQ(dayText(*series, 2).substr(0, 8), date);
        }
    }
    auto series = emptySeries();
    ASSERT_FALSE(loadTextData(*series, "h1\nh2\n　19991231　１，５００．５\n"));
    EXPECT_EQ(dayText(*series, 1), "19991231 1500.5 1500.5 1500.5 1500.5");
}

TEST(DataFiles, OnlyRegularFilesOpenAndAFileIsKnownByWhatItHolds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QLatin1Char('/');
    QFile text(folder + QStringLiteral("data.xls.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("a\nb\n971109 1500\n");
    text.close();
    // A workbook under any name is a workbook.
    for (const char* name : {"Numbers.XLS", "data.txt", "data.xls ", "data.xls.bak"})
        ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("/numbers.xls"),
                                folder + QString::fromUtf8(name)));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), folder + QStringLiteral("zero.txt")));
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + QStringLiteral("fifo.txt")).constData(), 0600), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + QStringLiteral("fifo.xls")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("folder.xls")));
    // The days loaded, or -1 for a file that cannot be opened.
    const std::pair<const char*, int> cases[] = {
        {"data.xls.txt", 1},  {"Numbers.XLS", 12}, {"data.txt", 12}, {"data.xls ", 12},
        {"data.xls.bak", 12}, {"missing.txt", -1}, {"zero.txt", -1}, {"fifo.txt", -1},
        {"fifo.xls", -1},     {"folder.xls", -1},  {"", -1}};
    for (const auto& [name, days] : cases) {
        auto series = emptySeries();
        const std::optional<LoadFailure> failure =
            loadDataFile(*series, folder, QString::fromUtf8(name), QStringLiteral("sheet1"));
        EXPECT_EQ(series->dataCount, std::max(days, 0)) << name;
        EXPECT_EQ(failure ? failure->message.text : QString(),
                  days < 0
                      ? QStringLiteral("ファイルを開けません\n") + folder + QString::fromUtf8(name)
                      : QString())
            << name;
    }
}

TEST(TextLoader, ReadsAFileOnlyAsFarAsTheDayPastTheLast) {
    // An 8 GB file (sparse: it takes no disk) whose first lines are 15001 days.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string days = manyDays(kMaxDays + 1);
    {
        QFile file(dir.filePath(QStringLiteral("huge.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(days.data(), static_cast<qint64>(days.size()));
        ASSERT_TRUE(file.resize(qint64(8) << 30));
    }
    auto series = emptySeries();
    const auto started = std::chrono::steady_clock::now();
    const std::optional<LoadFailure> failure =
        loadDataFile(*series, dir.path(), QStringLiteral("huge.txt"), QStringLiteral("sheet1"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message.text, kTooMany);
    EXPECT_EQ(series->dataCount, kMaxDays);

    // Where the reading stops, whatever pieces the file comes in: just into the 15001st day line
    // (blank lines do not count); at a DOS end-of-file byte; nowhere in a shorter text.
    auto stop = [](const std::string& text, size_t piece) -> std::string {
        TextExtent extent;
        std::string read;
        for (size_t at = 0; at < text.size(); at += piece)
            if (extent.scan(read.append(text, at, piece)))
                return std::to_string(extent.end()) +
                       (extent.how() == TextEnd::Stopped ? " stopped" : " whole");
        return "-";
    };
    std::string blanksBetween = "h1\nh2\n";
    for (int d = 1; d <= kMaxDays; ++d) blanksBetween += "1 2\r\n \t\r\r\n";
    const std::string stopped = std::to_string(blanksBetween.size() + 3) + " stopped";
    blanksBetween += "\t 3 4\n";
    for (size_t piece : {size_t(1), size_t(3), size_t(1) << 20}) {
        EXPECT_EQ(stop(blanksBetween, piece), stopped) << piece;
        EXPECT_EQ(stop("h1\r\nh2\r\n1 2\r\n\x1A 3 4\r\n", piece), "13 whole") << piece;
        EXPECT_EQ(stop("h1\r\nh2\r\n1 2\r\n3 4", piece), "-") << piece;
    }
}

TEST(TextLoader, AFileLongerThanTheByteLimitIsCutThereWithAMessage) {
    // The line cut there is never read as a day, and its bytes do not decide the encoding: the
    // UTF-8 headings stay UTF-8 although the cut falls inside a character.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("long.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("日経平均\r\n単位：円\r\n971109 1500\r\n971110 1500 ");
    file.write(QByteArray("日").repeated(6 << 20));
    file.close();
    auto series = emptySeries();
    const std::optional<LoadFailure> failure =
        loadDataFile(*series, dir.path(), QStringLiteral("long.txt"), QStringLiteral("sheet1"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message.text, unreadable(4, 1));
    EXPECT_EQ(series->titleLine1, QStringLiteral("日経平均"));
    EXPECT_EQ(series->dataCount, 1);
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
                           QStringLiteral("sheet1"));
        EXPECT_LE(series->dataCount, 5000);
    }
    done = true;
    writer.join();
}

} // namespace nimbrel

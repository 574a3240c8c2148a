#include "data/TextDataFile.h"

#include "LoaderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::optional<LoadFailure> load(PriceSeries& series, std::string_view bytes) {
    return loadTextData(series, bytes);
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

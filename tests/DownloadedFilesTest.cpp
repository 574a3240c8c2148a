#include "data/CsvExport.h"
#include "data/DelimitedTextFile.h"
#include "data/HeaderLayout.h"
#include "ichimoku/Ichimoku.h"

#include "LoaderTestSupport.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

std::string csvOf(PriceSeries& series) {
    computeIchimoku(series);
    return csvTable(series);
}

// The table a load of the text gives, as "DAYS TITLE | first day | last day" with the message.
std::string loadedText(const std::string& text, std::string* message = nullptr) {
    auto series = emptySeries();
    const std::optional<DelimitedHeader> header = delimitedHeader(text);
    if (!header) return "classic";
    const std::optional<LoadFailure> failure =
        loadDelimitedText(*series, text, TextEnd::Whole, *header, QStringLiteral("7203.T"));
    if (message) *message = failure ? failure->message.text.toStdString() : "";
    std::string shown = std::to_string(series->dataCount) + " " + series->titleLine1.toStdString() +
                        series->titleLine2.toStdString();
    if (series->dataCount > 0) shown += " | " + dayText(*series, 1);
    if (series->dataCount > 1) shown += " | " + dayText(*series, series->dataCount);
    return shown;
}

} // namespace

TEST(DownloadedFiles, EachLayoutOfTheSamePricesExportsTheSameTable) {
    const QString folder = kFixtures + QStringLiteral("/downloads/");
    const std::string expected = fileBytes(folder + QStringLiteral("expected.csv"));
    ASSERT_FALSE(expected.empty());
    for (const char* name : {"yahoo.csv", "stooq.csv", "stooq_bulk.txt", "jquants.csv",
                             "investing.csv", "broker_sjis.csv", "semicolon.csv"}) {
        SCOPED_TRACE(name);
        auto series = emptySeries();
        EXPECT_FALSE(loadDataFile(*series, folder, QString::fromLatin1(name), QStringLiteral("x")));
        EXPECT_EQ(series->titleLine1, QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0));
        EXPECT_EQ(csvOf(*series), expected);
    }
    auto series = emptySeries();
    EXPECT_FALSE(
        loadDataFile(*series, folder, QStringLiteral("close_only.csv"), QStringLiteral("x")));
    EXPECT_EQ(series->priceFieldCount, 1);
    EXPECT_EQ(csvOf(*series), fileBytes(folder + QStringLiteral("expected_close_only.csv")));
}

TEST(DownloadedFiles, HeaderNamesAndDatesAsDataSitesWriteThem) {
    // The columns found: date, open, high, low, close, or none (the classic layout).
    const std::pair<std::vector<std::string>, const char*> headers[] = {
        {{"Date", "Open", "High", "Low", "Close", "Adj Close", "Volume"}, "0 1 2 3 4"},
        {{"\"Date\"", "\"Price\"", "\"Open\"", "\"High\"", "\"Low\"", "\"Vol.\""}, "0 2 3 4 1"},
        {{"<TICKER>", "<PER>", "<DATE>", "<TIME>", "<OPEN>", "<HIGH>", "<LOW>", "<CLOSE>"},
         "2 4 5 6 7"},
        {{"日付", "始値", "高値", "安値", "終値", "出来高"}, "0 1 2 3 4"},
        {{" close ", "TIMESTAMP", "volume"}, "1 -1 -1 -1 0"},
        {{"Date", "Price", "Close"}, "0 -1 -1 -1 2"}, // a close wins over a price
        {{"Date", "Adj Close"}, "none"},
        {{"日経平均株価　日足"}, "none"},
    };
    for (const auto& [names, columns] : headers) {
        const std::optional<HeaderColumns> found = headerColumns(names);
        EXPECT_EQ(found ? std::to_string(found->date) + " " + std::to_string(found->open) + " " +
                              std::to_string(found->high) + " " + std::to_string(found->low) + " " +
                              std::to_string(found->close)
                        : "none",
                  columns)
            << names.front();
    }
    // clang-format off
    expectEach<const char*>({
        {"2023-01-05", "20230105"}, {"2023/01/05", "20230105"}, {"2023/1/5", "20230105"},
        {"20230105", "20230105"}, {"2023.01.05", "20230105"}, {"2023年1月5日", "20230105"},
        {"Jan 5, 2023", "20230105"}, {"Jan 05, 2023", "20230105"}, {"5 Jan 2023", "20230105"},
        {"September 30, 2023", "20230930"}, {"Sept 5, 2023", "20230905"},
        {"2023-01-05 00:00:00", "20230105"},
        {"2023-01-05T00:00:00Z", "20230105"}, {"\"2023-01-05\"", "20230105"},
        {"2023-02-30", "-"}, {"230105", "-"}, {"Jax 5, 2023", "-"}, {"05/01/2023", "-"},
        {"", "-"}, {"2023-1", "-"}},
        [](const char* text) { return shown(headerDate(text)); });
    // clang-format on
}

TEST(DownloadedFiles, RowsAreOrderedCheckedAndTheNewestKept) {
    const std::string header = "Date,Open,High,Low,Close\n";
    const struct {
        const char* name;
        std::string text;
        const char* loaded;
        const char* message = "";
    } cases[] = {
        {"newest first is turned round", header + "2023-01-05,2,3,1,2\n2023-01-04,1,2,0.5,1.5\n",
         "2 7203.T | 20230104 1 2 0.5 1.5 | 20230105 2 3 1 2"},
        {"quoted fields hold commas and doubled quotes",
         "\"Date\",\"Close\",\"Note\"\n\"2023-01-04\",\"1,234.5\",\"a \"\"b\"\", c\"\n",
         "1 7203.T | 20230104 1234.5 1234.5 1234.5 1234.5"},
        {"a holiday row without prices is no day",
         header + "2023-01-03,,,,\n2023-01-04,1,2,0.5,1.5\n2023-01-05,null,NaN,-,\n",
         "1 7203.T | 20230104 1 2 0.5 1.5"},
        {"a day with some prices and not others",
         header + "2023-01-04,1,2,0.5,1.5\n2023-01-05,1,,0.5,1\n",
         "1 7203.T | 20230104 1 2 0.5 1.5", "3行目のデータを読めません\n1日分を読み込みました"},
        {"a repeated date", header + "2023-01-04,1,2,0.5,1.5\n2023-01-04,1,2,0.5,1.5\n",
         "1 7203.T | 20230104 1 2 0.5 1.5", "3行目のデータを読めません\n1日分を読み込みました"},
        {"a date out of order",
         header + "2023-01-04,1,2,0.5,1.5\n2023-01-06,1,2,0.5,1.5\n2023-01-05,1,2,0.5,1.5\n",
         "2 7203.T | 20230104 1 2 0.5 1.5 | 20230106 1 2 0.5 1.5",
         "4行目のデータを読めません\n2日分を読み込みました"},
        {"an unreadable date newest first keeps the older days",
         header + "2023-01-06,1,2,0.5,1.5\n2023-13-05,1,2,0.5,1.5\n2023-01-04,3,4,2,3\n",
         "1 7203.T | 20230104 3 4 2 3", "3行目のデータを読めません\n1日分を読み込みました"},
        {"tabs, semicolons and blanks", "Date\tClose\n 2023-01-04 \t 7 \n",
         "1 7203.T | 20230104 7 7 7 7"},
        {"a heading line of the classic layout", "日経平均\n単位\n", "classic"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string message;
        EXPECT_EQ(loadedText(c.text, &message), c.loaded);
        EXPECT_EQ(message, c.message);
    }
    // More days than a series holds: the newest are kept, whichever way the file lists them.
    std::string oldestFirst = header, newestFirst;
    for (int d = 0; d <= kMaxDays; ++d) {
        const std::string line =
            QDate(1960, 1, 1).addDays(d).toString(Qt::ISODate).toStdString() + ",1,2,0.5,1\n";
        oldestFirst += line;
        newestFirst.insert(0, line);
    }
    for (const std::string& text : {oldestFirst, header + newestFirst}) {
        std::string message;
        EXPECT_EQ(loadedText(text, &message),
                  "15000 7203.T | 19600102 1 2 0.5 1 | 20010125 1 2 0.5 1");
        EXPECT_EQ(message, "データが15000日を超えています\n最新の15000日分を読み込みました");
    }
}

} // namespace nimbrel

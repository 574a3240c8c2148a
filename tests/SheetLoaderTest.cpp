#include "data/DataFileLoader.h"

#include "platform/Spreadsheet.h"

#include "LoaderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct SheetLoad {
    std::unique_ptr<PriceSeries> series = emptySeries();
    std::optional<LoadFailure> failure;
};

SheetLoad loadFixture(const char* name, const char* sheet = "sheet1$") {
    SheetLoad result;
    result.failure =
        loadDataFile(*result.series, kFixtures, QString::fromUtf8(name), QString::fromUtf8(sheet));
    return result;
}

} // namespace

TEST(SheetLoader, CompactDatesFromNumbers) {
    SheetLoad load = loadFixture("numbers.xls");
    ASSERT_FALSE(load.failure) << load.failure->message.text.toStdString();
    const PriceSeries& s = *load.series;
    ASSERT_EQ(s.dataCount, 12);
    EXPECT_EQ(s.titleLine1, QString());
    EXPECT_EQ(s.titleLine2, QStringLiteral("トヨタ自動車"));
    EXPECT_EQ(dayText(s, 1), "19971104 1514 1546.5 1513.9 1538.2");
    EXPECT_EQ(s.priceTable[11].date, Fixed4::fromWhole(19971120)); // eight digits taken as is
    EXPECT_EQ(s.priceTable[12].date, Fixed4::fromWhole(19971121));
    EXPECT_EQ(s.priceTable[6].open, *Fixed4::fromText("1667.5")); // 1667.5000000000002 in the cell
    EXPECT_EQ(s.priceFieldCount, 4);
    EXPECT_TRUE(restIsZero(s));
}

TEST(SheetLoader, DateModeFromTextsAndDateCells) {
    SheetLoad texts = loadFixture("text_dates.xls");
    ASSERT_FALSE(texts.failure);
    ASSERT_EQ(texts.series->dataCount, 5);
    const int64_t expected[] = {19971104, 19971105, 19971106, 20010510, 20010511};
    for (int d = 1; d <= 5; ++d)
        EXPECT_EQ(texts.series->priceTable[d].date, Fixed4::fromWhole(expected[d - 1])) << d;

    SheetLoad cells = loadFixture("date_cells.xls");
    ASSERT_FALSE(cells.failure);
    ASSERT_EQ(cells.series->dataCount, 20);
    EXPECT_EQ(dayText(*cells.series, 1), "20080303 4853 4970 4835 4901");
    EXPECT_EQ(cells.series->priceTable[20].date, Fixed4::fromWhole(20080328));
}

TEST(SheetLoader, AnEmptyCellEndsTheData) {
    SheetLoad load = loadFixture("empty_row.xls");
    ASSERT_FALSE(load.failure);
    EXPECT_EQ(load.series->dataCount, 49);
    EXPECT_EQ(load.series->priceTable[49].date, Fixed4::fromWhole(20080508));
    EXPECT_TRUE(restIsZero(*load.series));
}

TEST(SheetLoader, RowsWithoutAHighAreOnePriceDays) {
    for (const char* name : {"single_price.xls", "columns_a_to_c.xls"}) {
        SCOPED_TRACE(name);
        SheetLoad load = loadFixture(name);
        ASSERT_FALSE(load.failure);
        ASSERT_EQ(load.series->dataCount, 10);
        EXPECT_EQ(load.series->priceFieldCount, 1);
        EXPECT_EQ(load.series->priceTable[1].date, Fixed4::fromWhole(20090601));
        for (int d = 1; d <= 10; ++d) {
            const PriceRow& row = load.series->priceTable[d];
            EXPECT_TRUE(row.open == row.high && row.high == row.low && row.low == row.close);
        }
    }
    EXPECT_EQ(dayText(*loadFixture("single_price.xls").series, 1),
              "20090601 3447.9 3447.9 3447.9 3447.9");
    EXPECT_EQ(dayText(*loadFixture("columns_a_to_c.xls").series, 10), "20090612 767 767 767 767");
}

TEST(SheetLoader, ChoosesTheWorksheetByNameWithoutRegardToCase) {
    SheetLoad byDefault = loadFixture("two_sheets.xls");
    ASSERT_FALSE(byDefault.failure);
    EXPECT_EQ(byDefault.series->dataCount, 8);
    EXPECT_EQ(byDefault.series->titleLine2, QStringLiteral("ソフトバンク"));
    EXPECT_EQ(byDefault.series->priceTable[1].close, *Fixed4::fromText("2022.2"));

    SheetLoad prices = loadFixture("two_sheets.xls", "PRICES$");
    ASSERT_FALSE(prices.failure);
    EXPECT_EQ(prices.series->dataCount, 10);
    EXPECT_EQ(prices.series->priceTable[1].close, *Fixed4::fromText("495.2"));

    SheetLoad wrong = loadFixture("wrong_sheet.xls");
    ASSERT_TRUE(wrong.failure);
    EXPECT_EQ(wrong.failure->problem, LoadProblem::SheetName);
    EXPECT_EQ(wrong.failure->message.title, QStringLiteral("エラー"));
    EXPECT_EQ(wrong.failure->message.text, QStringLiteral("シート名を確認して下さい"));
    EXPECT_EQ(wrong.failure->message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(wrong.series->dataCount, 0);
    EXPECT_EQ(loadFixture("wrong_sheet.xls", "data$").series->dataCount, 5);
}

TEST(SheetLoader, StopsAtAnUnreadableRowAndKeepsTheRowsBefore) {
    SheetLoad date = loadFixture("unreadable_date.xls");
    ASSERT_TRUE(date.failure);
    EXPECT_EQ(date.failure->problem, LoadProblem::UnreadableDay);
    EXPECT_EQ(date.failure->message.text,
              QStringLiteral("5行目のデータを読めません\n3日分を読み込みました"));
    EXPECT_EQ(date.series->dataCount, 3);
    EXPECT_TRUE(restIsZero(*date.series));

    SheetLoad price = loadFixture("unreadable_price.xls");
    ASSERT_TRUE(price.failure);
    EXPECT_EQ(price.failure->message.text,
              QStringLiteral("4行目のデータを読めません\n2日分を読み込みました"));
    EXPECT_EQ(price.series->dataCount, 2);
    EXPECT_EQ(price.series->priceTable[2].open, *Fixed4::fromText("1500.25"));
}

TEST(SheetLoader, KeepsTheFirst15000Rows) {
    SheetLoad load = loadFixture("days15001.xls");
    ASSERT_TRUE(load.failure);
    EXPECT_EQ(load.failure->problem, LoadProblem::TooManyDays);
    EXPECT_EQ(load.failure->message.text,
              QStringLiteral("データが15000日を超えています\n最初の15000日分を読み込みました"));
    EXPECT_EQ(load.series->dataCount, kMaxDays);
    EXPECT_EQ(load.series->priceTable[kMaxDays].date, Fixed4::fromWhole(20270702));
}

TEST(SheetLoader, ReportsFilesThatAreNotReadableWorkbooks) {
    for (const char* name : {"truncated.xls", "not_a_workbook.xls"}) {
        SheetLoad load = loadFixture(name);
        ASSERT_TRUE(load.failure) << name;
        EXPECT_EQ(load.failure->problem, LoadProblem::CannotRead);
        EXPECT_EQ(load.failure->message.text, QStringLiteral("ファイルを読めません\n") + kFixtures +
                                                  QLatin1Char('/') + QString::fromUtf8(name));
        EXPECT_EQ(load.series->dataCount, 0);
    }
    SheetLoad missing = loadFixture("missing.xls");
    ASSERT_TRUE(missing.failure);
    EXPECT_EQ(missing.failure->problem, LoadProblem::CannotOpen);
}

TEST(SheetLoader, NamesEndingInXlsInAnyCaseAreWorkbooks) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("/numbers.xls"),
                            dir.filePath(QStringLiteral("Numbers.XLS"))));
    ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("/numbers.xls"),
                            dir.filePath(QStringLiteral("numbers.Xls"))));
    for (const char* name : {"Numbers.XLS", "numbers.Xls"}) {
        auto series = emptySeries();
        EXPECT_FALSE(
            loadDataFile(*series, dir.path(), QString::fromUtf8(name), QStringLiteral("sheet1$")));
        EXPECT_EQ(series->dataCount, 12) << name;
    }
}

TEST(SheetLoader, DamagedWorkbooksAreUnreadableOrGiveWhatTheyHold) {
    // Through the reader process, as the program loads them (tests/fixtures/broken/README.md).
    struct Case {
        const char* name;
        int days; // -1: cannot read
    };
    const Case cases[] = {
        {"broken/root-entry-name-size-5632.xls", -1},
        {"broken/root-entry-name-size-8192.xls", 12},
        {"broken/directory-sector-0xffffffff.xls", -1},
        {"broken/format-string-longer-than-its-record.xls", 12},
        {"broken/second-dimension-record.xls", -1},
        {"broken/second-dimension-record-too-large.xls", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SheetLoad load = loadFixture(c.name);
        if (c.days < 0) {
            ASSERT_TRUE(load.failure);
            EXPECT_EQ(load.failure->problem, LoadProblem::CannotRead);
            EXPECT_EQ(load.failure->message.text, QStringLiteral("ファイルを読めません\n") +
                                                      kFixtures + QLatin1Char('/') +
                                                      QString::fromUtf8(c.name));
            EXPECT_EQ(load.series->dataCount, 0);
        } else {
            EXPECT_FALSE(load.failure);
            EXPECT_EQ(load.series->dataCount, c.days);
            EXPECT_EQ(dayText(*load.series, 1), "19971104 1514 1546.5 1513.9 1538.2");
        }
        EXPECT_TRUE(restIsZero(*load.series));
    }
}

TEST(SheetLoader, FormulaCellsReadAsTheirStoredResults) {
    // Every close is =E{n}+11; the name, the date of day 4, and the opens of days 7 (a text
    // result) and 30 (sheet row 31) are formulas too.
    SheetLoad load = loadFixture("formulas.xls");
    ASSERT_FALSE(load.failure) << load.failure->message.text.toStdString();
    const PriceSeries& s = *load.series;
    ASSERT_EQ(s.dataCount, 40);
    EXPECT_EQ(s.titleLine2, QStringLiteral("トヨタ自動車"));
    EXPECT_EQ(dayText(s, 1), "20120402 1491.2 1504.2 1488.7 1499.7");
    EXPECT_EQ(dayText(s, 4), "20120405 1512.5 1517.6 1508.7 1519.7");
    EXPECT_EQ(s.priceTable[7].open, *Fixed4::fromText("1500.25"));
    EXPECT_EQ(dayText(s, 30), "20120511 1612.2 1620 1602.9 1613.9");
    EXPECT_EQ(s.priceTable[40].date, Fixed4::fromWhole(20120525));
}

TEST(SheetLoader, BooleansErrorsAndImpossibleDatesAreUnreadableDays) {
    // cell_kinds.xls: one worksheet a case, 6 days from 2013-05-06, the odd cell at `line`.
    struct Case {
        const char* sheet;
        int line; // 0: no message
        int days;
    };
    const Case cases[] = {
        {"boolean", 4, 2},         // D4 TRUE
        {"error", 3, 1},           // E3 #N/A
        {"formula_boolean", 5, 3}, // C5 a formula giving FALSE
        {"formula_error", 4, 2},   // F4 a formula giving #DIV/0!
        {"date_zero", 3, 1},       // B3 a date cell of serial 0
        {"date_negative", 4, 2},   // B4 a date cell of serial -1
        {"date_past_9999", 3, 1},  // B2 9999-12-31, B3 the day after
        {"formula_empty", 0, 4},   // B6 a formula giving "": the data end there
        {"empty_text", 0, 3},      // C5 the text "": the data end there
        {"sheet1", 0, 6},          // "" in G3, outside the data
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        SheetLoad load = loadFixture("cell_kinds.xls", (std::string(c.sheet) + "$").c_str());
        EXPECT_EQ(load.series->dataCount, c.days);
        EXPECT_TRUE(restIsZero(*load.series));
        if (c.line == 0) {
            EXPECT_FALSE(load.failure);
            continue;
        }
        ASSERT_TRUE(load.failure);
        EXPECT_EQ(load.failure->problem, LoadProblem::UnreadableDay);
        EXPECT_EQ(load.failure->message.text,
                  QStringLiteral("%1行目のデータを読めません\n%2日分を読み込みました")
                      .arg(c.line)
                      .arg(c.days));
    }
    EXPECT_EQ(loadFixture("cell_kinds.xls", "boolean$").series->titleLine2,
              QStringLiteral("TRUE")); // A2, shown as the spreadsheet shows it
    EXPECT_EQ(loadFixture("cell_kinds.xls", "date_past_9999$").series->priceTable[1].date,
              Fixed4::fromWhole(99991231));
}

TEST(SheetLoader, Reads1904DatesExcel95AndLongSharedStringTables) {
    SheetLoad dates1904 = loadFixture("dates_1904.xls");
    ASSERT_FALSE(dates1904.failure);
    ASSERT_EQ(dates1904.series->dataCount, 10);
    EXPECT_EQ(dates1904.series->priceTable[1].date, Fixed4::fromWhole(20080303));
    EXPECT_EQ(dates1904.series->priceTable[10].date, Fixed4::fromWhole(20080314));

    SheetLoad excel95 = loadFixture("biff5.xls");
    ASSERT_FALSE(excel95.failure);
    ASSERT_EQ(excel95.series->dataCount, 5);
    EXPECT_EQ(excel95.series->titleLine2, QStringLiteral("日本電気"));
    EXPECT_EQ(dayText(*excel95.series, 2), "20110405 850 861.75 848.5 860.25");
    EXPECT_EQ(dayText(*excel95.series, 5), "20110408 843.25 849 839 848.5");

    SheetLoad texts = loadFixture("long_sst.xls");
    ASSERT_FALSE(texts.failure);
    ASSERT_EQ(texts.series->dataCount, 700);
    EXPECT_EQ(texts.series->titleLine2, QStringLiteral("三井住友フィナンシャルグループ"));
    EXPECT_EQ(dayText(*texts.series, 1), "20050104 1232.3 1238.3 1217.8 1218.9");
    EXPECT_EQ(dayText(*texts.series, 700), "20070910 1751.6 1787.1 1744.4 1787");
}

TEST(SheetLoader, SizeRecordsAndStringCountsThatLieCostNothing) {
    for (const char* name : {"dimension_20_sheets.xls", "long_strings.xls"}) {
        SCOPED_TRACE(name);
        SheetLoad load = loadFixture(name);
        ASSERT_FALSE(load.failure);
        EXPECT_EQ(load.series->dataCount, 5);
        EXPECT_EQ(dayText(*load.series, 1), "20140602 613 617.8 592.1 598.9");
    }
    // The 32767-character name keeps what fits in 256 bytes: 85 characters.
    const QString name = loadFixture("long_strings.xls").series->titleLine2;
    EXPECT_EQ(name, QStringLiteral("長い銘柄名").repeated(17));
}

TEST(SheetLoader, AWorkbookWithoutUsableSheetsCannotBeReadRatherThanHaveAWrongSheetName) {
    for (const char* name : {"no_worksheets.xls", "bad_sheet_offset.xls"}) {
        SheetLoad load = loadFixture(name);
        ASSERT_TRUE(load.failure) << name;
        EXPECT_EQ(load.failure->problem, LoadProblem::CannotRead) << name;
    }
}

TEST(SheetLoader, AReaderThatCrashesHangsOrTalksNonsenseMeansTheFileCannotBeRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray workbook = QFile::encodeName(kFixtures + QStringLiteral("/numbers.xls"));
    struct Case {
        const char* script;
        SheetOpenStatus status;
    };
    const Case cases[] = {
        {"kill -SEGV $$", SheetOpenStatus::CannotRead},        // crashes
        {"kill -XCPU $$", SheetOpenStatus::CannotRead},        // CPU limit
        {"exec sleep 10", SheetOpenStatus::CannotRead},        // hangs
        {"printf 'O\\001\\002'", SheetOpenStatus::CannotRead}, // half an answer
        {"printf S; exit 1", SheetOpenStatus::CannotRead},     // fails after answering
        {"printf S", SheetOpenStatus::NoSuchSheet},            // the plain answers
        {"printf R", SheetOpenStatus::CannotRead},
        {"cat >/dev/null; printf S", SheetOpenStatus::NoSuchSheet}, // it gets the file
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const QString program = dir.filePath(QStringLiteral("reader%1").arg(index++));
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\n") + c.script + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const auto started = std::chrono::steady_clock::now();
        const SheetOpenResult result = openWorksheetWith(QFile::encodeName(program).toStdString(),
                                                         std::chrono::milliseconds(300), workbook,
                                                         QStringLiteral("sheet1"), kMaxDays + 2);
        EXPECT_EQ(result.status, c.status);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    }
    EXPECT_EQ(openWorksheetWith("/nonexistent/reader", std::chrono::seconds(1), workbook,
                                QStringLiteral("sheet1"), 10)
                  .status,
              SheetOpenStatus::CannotRead);
}

TEST(SheetLoader, OnlyRegularFilesAreRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo.xls"))).constData(), 0600),
              0);
    QDir(dir.path()).mkdir(QStringLiteral("folder.xls"));
    for (const char* name : {"fifo.xls", "folder.xls"}) {
        auto series = emptySeries();
        const std::optional<LoadFailure> failure =
            loadDataFile(*series, dir.path(), QString::fromUtf8(name), QStringLiteral("sheet1$"));
        ASSERT_TRUE(failure) << name;
        EXPECT_EQ(failure->problem, LoadProblem::CannotOpen) << name;
    }
}

TEST(SheetLoader, TheReaderProgramAnswersOnlyTheProgramThatStartedIt) {
    // Started for another parent (one that has died since, say) it does nothing at all.
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string reader = std::string(self).substr(0, std::string(self).rfind('/')) +
                               "/../libexec/nimbrel/nimbrel-workbook-reader";
    const std::string workbook = QFile::encodeName(kFixtures).toStdString() + "/numbers.xls";
    auto run = [&](const std::string& parent) {
        // sh execs the reader, so this process is its parent.
        const std::string command =
            "exec '" + reader + "' sheet1 3 " + parent + " < '" + workbook + "'";
        std::FILE* pipe = popen(command.c_str(), "r");
        std::string answer;
        char buffer[4096];
        for (size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            answer.append(buffer, got);
        const int status = pipe ? pclose(pipe) : -1;
        return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, answer);
    };
    const auto answered = run(std::to_string(getpid()));
    EXPECT_EQ(answered.first, 0);
    ASSERT_FALSE(answered.second.empty());
    EXPECT_EQ(answered.second[0], 'O');
    const std::optional<WorksheetCells> cells =
        WorksheetCells::deserialize(std::string_view(answered.second).substr(1), 3);
    ASSERT_TRUE(cells);
    EXPECT_EQ(cells->rowCount(), 3);

    for (const std::string& parent : {std::string("1"), std::string("x")}) {
        const auto refused = run(parent);
        EXPECT_EQ(refused.first, 2) << parent;
        EXPECT_EQ(refused.second, "") << parent;
    }
}

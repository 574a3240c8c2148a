#include "data/DataFileLoader.h"
#include "data/SheetDataFile.h"
#include "system/FileAccess.h"

#include "workbook/WorkbookProcess.h"

#include "LoaderTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

namespace nimbrel {

namespace {

// "DAYS PRICES NAME": the days loaded, 1 or 4 prices a day and the name from A2; then for each
// day that `wanted` lists after a "|", the day's number and as many of its fields as it gives.
std::string loaded(const PriceSeries& series, const std::string& wanted) {
    std::string text =
        std::to_string(series.dataCount) + ' ' + std::to_string(series.priceFieldCount);
    if (!series.titleLine2.isEmpty()) text += ' ' + series.titleLine2.toStdString();
    for (size_t bar = wanted.find('|'); bar != std::string::npos; bar = wanted.find('|', bar + 1)) {
        std::istringstream asked(wanted.substr(bar + 1, wanted.find('|', bar + 1) - bar - 1));
        int day = 0;
        asked >> day;
        std::istringstream fields(dayText(series, day));
        text += " | " + std::to_string(day);
        for (std::string skip, field; asked >> skip && fields >> field;) text += ' ' + field;
    }
    return text;
}

} // namespace

TEST(SheetLoader, EachFixtureWorkbookLoadsAsItsTableSays) {
    // Values as the fixture script wrote them (tests/fixtures/README.md).
    struct Case {
        const char* file;
        const char* sheet;
        std::string loaded;
        const char* message = ""; // one ending in "\n" goes on with the file's path
    };
    const char* cannotRead = "ファイルを読めません\n";
    const Case cases[] = {
        {"numbers.xls", "sheet1",
         "12 4 トヨタ自動車 | 1 19971104 1514 1546.5 1513.9 1538.2 | 6 19971111 1667.5 | 11 "
         "19971120 | 12 19971121"},
        {"text_dates.xls", "sheet1",
         "5 4 ソニー | 1 19971104 1525.85 1530.36 1512.25 1516.85 | 2 19971105 | 3 19971106 | 4 "
         "20010510 | 5 20010511 1571.91 1579.97 1561.31 1561.55"},
        {"date_cells.xls", "sheet1",
         "20 4 キヤノン | 1 20080303 4853 4970 4835 4901 | 20 20080328 4780 4938 4768 4899"},
        {"dates_1904.xls", "sheet1",
         "10 4 キヤノン | 1 20080303 4866 4921 4850 4910 | 10 20080314 5322 5349 5285 5293"},
        {"empty_row.xls", "sheet1", "49 4 三菱商事 | 49 20080508"},
        {"single_price.xls", "sheet1",
         "10 1 武田薬品工業 | 1 20090601 3447.9 3447.9 3447.9 3447.9 | 10 20090612 3576 3576 "
         "3576 3576"},
        {"columns_a_to_c.xls", "sheet1",
         "10 1 日立製作所 | 1 20090601 774.4 774.4 774.4 774.4 | 10 20090612 767 767 767 767"},
        {"two_sheets.xls", "sheet1",
         "8 4 ソフトバンク | 1 20120201 2008.6 2033.2 2003.4 2022.2 | 8 20120210"},
        {"two_sheets.xls", "PRICES",
         "10 4 みずほフィナンシャルグループ | 1 20100104 497.6 501.8 494 495.2 | 10 20100115"},
        {"wrong_sheet.xls", "sheet1", "0 0", "シート名を確認して下さい"},
        {"wrong_sheet.xls", "data", "5 4 パナソニック | 5 20110408 1568.8 1577 1537.2 1539.3"},
        {"unreadable_date.xls", "sheet1",
         "3 4 本田技研工業 | 3 20110406 1554.4 1559.6 1553.3 1555.4",
         "5行目のデータを読めません\n3日分を読み込みました"},
        {"unreadable_price.xls", "sheet1",
         "2 4 日本電信電話 | 2 20110405 1500.25 1509.8 1497.4 1507.3",
         "4行目のデータを読めません\n2日分を読み込みました"},
        {"days15001.xls", "sheet1",
         "15000 4 サンプル電機 | 15000 20270702 1843.6 1911.4 1828.7 1897.1",
         "データが15000日を超えています\n最初の15000日分を読み込みました"},
        {"formulas.xls", "sheet1",
         "40 4 トヨタ自動車 | 1 20120402 1491.2 1504.2 1488.7 1499.7 | 4 20120405 | 7 20120410 "
         "1500.25 | 30 20120511 1612.2 1620 1602.9 1613.9 | 40 20120525"},
        {"biff5.xls", "sheet1",
         "5 4 日本電気 | 2 20110405 850 861.75 848.5 860.25 | 5 20110408 843.25 849 839 848.5"},
        {"long_sst.xls", "sheet1",
         "700 4 三井住友フィナンシャルグループ | 1 20050104 1232.3 1238.3 1217.8 1218.9 | 700 "
         "20070910 1751.6 1787.1 1744.4 1787"},
        {"dimension_20_sheets.xls", "sheet1", "5 4 銘柄1 | 1 20140602 613 617.8 592.1 598.9"},
        // The 32767-character name keeps what fits in 256 bytes: 85 characters.
        {"long_strings.xls", "sheet1",
         "5 4 " + QStringLiteral("長い銘柄名").repeated(17).toStdString() + " | 5 20140606"},
        {"missing.xls", "sheet1", "0 0", "ファイルを開けません\n"},
        {"truncated.xls", "sheet1", "0 0", cannotRead},
        // Known by what it holds: a line of text, so a text file of no day.
        {"not_a_workbook.xls", "sheet1", "0 0", "データがありません\n"},
        // Without a usable sheet the file cannot be read, rather than have a wrong sheet name.
        {"no_worksheets.xls", "sheet1", "0 0", cannotRead},
        {"bad_sheet_offset.xls", "sheet1", "0 0", cannotRead},
        // cell_kinds.xls: 6 days from 2013-05-06 on each sheet, one odd cell.
        {"cell_kinds.xls", "boolean", "2 4 TRUE",
         "4行目のデータを読めません\n2日分を読み込みました"},
        {"cell_kinds.xls", "error", "1 4 東芝", "3行目のデータを読めません\n1日分を読み込みました"},
        {"cell_kinds.xls", "formula_boolean", "3 4 東芝",
         "5行目のデータを読めません\n3日分を読み込みました"},
        {"cell_kinds.xls", "formula_error", "2 4 東芝",
         "4行目のデータを読めません\n2日分を読み込みました"},
        {"cell_kinds.xls", "date_zero", "1 4 東芝",
         "3行目のデータを読めません\n1日分を読み込みました"},
        {"cell_kinds.xls", "date_negative", "2 4 東芝",
         "4行目のデータを読めません\n2日分を読み込みました"},
        {"cell_kinds.xls", "date_past_9999", "1 4 東芝 | 1 99991231",
         "3行目のデータを読めません\n1日分を読み込みました"},
        {"cell_kinds.xls", "formula_empty", "4 4 東芝"},
        {"cell_kinds.xls", "empty_text", "3 4 東芝"},
        {"cell_kinds.xls", "sheet1", "6 4 東芝 | 6 20130513"},
        // date_forms.xls: the first day's date decides how the sheet writes its dates.
        {"date_forms.xls", "numbers",
         "4 4 ファナック | 1 20080107 1220 1236.5 1215 1230 | 2 20080108 | 3 20100104 | 4 20000104 "
         "1233 1239.5 1221 1224.5"},
        {"date_forms.xls", "not_a_day", "2 4 ファナック | 2 20080108",
         "4行目のデータを読めません\n2日分を読み込みました"},
        {"date_forms.xls", "serial", "3 4 ファナック | 1 20080303 | 3 20080305"},
        {"date_forms.xls", "blanks", "3 4 ファナック | 1 19971109 | 3 19971111"},
        {"date_forms.xls", "dashes", "4 4 ファナック | 1 20230104 | 4 20230110"},
        {"date_forms.xls", "dots", "3 4 ファナック | 1 20230104 | 3 20230106"},
        {"no_name.xls", "sheet1", "0 0", "データがありません\n"},
        // sheet_names.xls: sheets Data, DATA, Straße, Strasse, each with its name in A2.
        {"sheet_names.xls", "DATA", "3 4 DATA"},
        {"sheet_names.xls", "Data", "3 4 Data"},
        {"sheet_names.xls", "data", "3 4 Data"},
        {"sheet_names.xls", "STRASSE", "3 4 Strasse"},
        {"sheet_names.xls", "straße", "3 4 Straße"},
        {"sheet_names.xls", "Dat", "0 0", "シート名を確認して下さい"},
        {"sharp_s.xls", "STRASSE", "0 0", "シート名を確認して下さい"},
        // cell_records.xls: the later record of a cell is the cell.
        {"cell_records.xls", "text_then_number",
         "4 4 キーエンス | 2 20230105 1234.5 1240 1225.5 1238.5"},
        {"cell_records.xls", "number_then_text",
         "4 4 キーエンス | 3 20230106 1236.75 1245 1229 1232"},
        {"cell_records.xls", "number_then_blank", "3 4 キーエンス | 3 20230106"},
        {"cell_records.xls", "tiny_price", "4 4 キーエンス | 2 20230105 1231 1240 0 1238.5"},
        // Through the reader process, as the program loads them (tests/fixtures/broken/).
        {"broken/root-entry-name-size-5632.xls", "sheet1", "0 0", cannotRead},
        {"broken/root-entry-name-size-8192.xls", "sheet1", "12 4 トヨタ自動車"},
        {"broken/directory-sector-0xffffffff.xls", "sheet1", "0 0", cannotRead},
        {"broken/format-string-longer-than-its-record.xls", "sheet1", "12 4 トヨタ自動車"},
        {"broken/second-dimension-record.xls", "sheet1", "0 0", cannotRead},
        {"broken/second-dimension-record-too-large.xls", "sheet1", "0 0", cannotRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.sheet);
        auto series = emptySeries();
        const std::optional<LoadFailure> failure =
            loadDataFile(*series, kFixtures, QString::fromUtf8(c.file), QString::fromUtf8(c.sheet));
        QString message = QString::fromUtf8(c.message);
        if (message.endsWith(QLatin1Char('\n')))
            message += kFixtures + QLatin1Char('/') + QString::fromUtf8(c.file);
        EXPECT_EQ(failure ? failure->message.text : QString(), message);
        EXPECT_EQ(loaded(*series, c.loaded), c.loaded);
        EXPECT_TRUE(restIsZero(*series));
    }
}

TEST(SheetLoader, AReaderThatCrashesHangsOrTalksNonsenseMeansTheFileCannotBeRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray workbook = QFile::encodeName(kFixtures + QStringLiteral("/numbers.xls"));
    const struct {
        const char* script; // nullptr: no reader program at all
        SheetOpenStatus status;
    } cases[] = {
        {"kill -SEGV $$", SheetOpenStatus::CannotRead},             // crashes
        {"exec sleep 10", SheetOpenStatus::CannotRead},             // hangs
        {"printf 'O\\001\\002'", SheetOpenStatus::CannotRead},      // half an answer
        {"printf S; exit 1", SheetOpenStatus::CannotRead},          // fails after answering
        {"cat >/dev/null; printf S", SheetOpenStatus::NoSuchSheet}, // it gets the file
        {nullptr, SheetOpenStatus::CannotRead},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script ? c.script : "no reader");
        QString program = QStringLiteral("/nonexistent/reader");
        if (c.script) {
            program = dir.filePath(QStringLiteral("reader%1").arg(index++));
            QFile script(program);
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write(QByteArray("#!/bin/sh\n") + c.script + "\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const auto started = std::chrono::steady_clock::now();
        const FileDescriptor file = openRegularFile(workbook);
        const SheetOpenResult result = openWorksheetWith(QFile::encodeName(program).toStdString(),
                                                         std::chrono::milliseconds(300), file.get(),
                                                         QStringLiteral("sheet1"), kMaxDays + 2);
        EXPECT_EQ(result.status, c.status);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    }
}

// A sheet that ends at column D: a day with a high takes its low and close from the day before
// (0 on the first day), as the sheet gives no other.
TEST(SheetLoader, ASheetWithoutLowAndCloseColumnsRepeatsTheDayBefore) {
    WorksheetCells sheet(4);
    const double days[][3] = {{19990104, 100, 0}, {19990105, 110, 120}, {19990106, 90, 95}};
    for (int row = 1; row <= 3; ++row) {
        sheet.setText(row, 0, "見本");
        sheet.set(row, 1, {CellKind::Number, false, days[row - 1][0]});
        sheet.set(row, 2, {CellKind::Number, false, days[row - 1][1]});
        if (days[row - 1][2] != 0) sheet.set(row, 3, {CellKind::Number, false, days[row - 1][2]});
    }
    PriceSeries series;
    EXPECT_FALSE(loadSheetCells(series, sheet));
    EXPECT_EQ(series.dataCount, 3);
    EXPECT_EQ(dayText(series, 2), "19990105 110 120 100 100");
    EXPECT_EQ(dayText(series, 3), "19990106 90 95 100 100");
    sheet.set(1, 3, {CellKind::Number, false, 105}); // a high on the first day: low and close 0
    EXPECT_FALSE(loadSheetCells(series, sheet));
    EXPECT_EQ(dayText(series, 1), "19990104 100 105 0 0");
}

} // namespace nimbrel

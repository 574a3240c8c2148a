#include "workbook/WorkbookReader.h"

#include "LoaderTestSupport.h"

#include <QString>

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace nimbrel {

namespace {

constexpr int kRows = 15002;

std::string u16(unsigned value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}
std::string u32(uint32_t value) {
    return u16(value & 0xFFFF) + u16(value >> 16);
}
std::string f64(double value) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}
std::string record(unsigned id, const std::string& data) {
    return u16(id) + u16(static_cast<unsigned>(data.size())) + data;
}
std::string cell(unsigned row, unsigned column, unsigned xf = 0) {
    return u16(row) + u16(column) + u16(xf);
}
std::string bof(unsigned type, unsigned version = 0x0600) {
    return record(0x0809, u16(version) + u16(type) + std::string(12, '\0'));
}
std::string eof() {
    return record(0x000A, "");
}
std::string boundSheet(uint32_t at, const std::string& name, unsigned type = 0) {
    return record(0x0085, u32(at) + '\0' + static_cast<char>(type) +
                              static_cast<char>(name.size()) + '\0' + name);
}
// A compressed (one byte a character) BIFF8 string with a 16-bit length.
std::string text8(const std::string& latin1) {
    return u16(static_cast<unsigned>(latin1.size())) + '\0' + latin1;
}
std::string result(unsigned type, unsigned value) {
    return std::string{
        static_cast<char>(type), '\0', static_cast<char>(value), '\0', '\0', '\0', '\xFF', '\xFF'};
}
std::string formula(unsigned row, unsigned column, const std::string& result, unsigned xf = 0) {
    return record(0x0006, cell(row, column, xf) + result + u16(0) + u32(0) + u16(1) + '\x1E');
}

// A BIFF8 workbook stream: the globals (extra records, then one worksheet "sheet1" holding
// `cells`), then the worksheet.
std::string workbook(const std::string& globals, const std::string& cells) {
    const std::string sheet = bof(0x0010) + cells + eof();
    const size_t globalsSize =
        bof(5).size() + globals.size() + boundSheet(0, "sheet1").size() + eof().size();
    return bof(5) + globals + boundSheet(static_cast<uint32_t>(globalsSize), "sheet1") + eof() +
           sheet;
}

WorksheetCells firstSheet(const std::string& stream, int rows = kRows) {
    const auto workbook = WorkbookReader::openBytes(stream);
    EXPECT_TRUE(workbook);
    if (!workbook) return WorksheetCells();
    std::optional<WorksheetCells> cells = workbook->readSheet(0, rows);
    EXPECT_TRUE(cells);
    return cells ? std::move(*cells) : WorksheetCells();
}

// "kind:value" of a cell, the way the expectations below are written.
std::string show(const WorksheetCells& cells, int row, int column) {
    const WorksheetCell& c = cells.cell(row, column);
    const char* kinds[] = {"empty", "number:", "date:", "text:", "boolean:", "error:"};
    std::ostringstream out;
    out.precision(17);
    out << kinds[static_cast<int>(c.kind)];
    if (c.kind == CellKind::Text)
        out << cells.text(c) << (c.cut ? "..." : "");
    else if (c.kind != CellKind::Empty)
        out << c.number;
    return out.str();
}

} // namespace

TEST(WorkbookReader, ReadsEveryKindOfCellRecord) {
    const std::string cells =
        record(0x0203, cell(1, 1) + f64(1508.45)) +          // NUMBER
        record(0x027E, cell(1, 2) + u32(1500u << 2 | 2)) +   // RK, integer
        record(0x027E, cell(1, 3) + u32(150025u << 2 | 3)) + // RK, integer / 100
        record(0x027E, cell(1, 4) + u32(0x3FF00000)) +       // RK, the top of 1.0
        record(0x027E, cell(1, 5) + u32(0x40590000 | 1)) +   // RK, 100.0 / 100
        record(0x00BD, u16(2) + u16(1) + u16(0) + u32(7u << 2 | 2) + u16(0) + u32(0xFFFFFFFEu) +
                           u16(0) + u32(0x40240000) + u16(3)) + // MULRK
        record(0x0205, cell(3, 1) + '\x01' + '\x00') +          // BOOLERR: TRUE
        record(0x0205, cell(3, 2) + '\x2A' + '\x01') +          // BOOLERR: #N/A
        record(0x0204, cell(3, 3) + text8("1,500.25")) +        // LABEL
        record(0x0201, cell(3, 4)) +                            // BLANK
        formula(4, 1, f64(42.5)) +
        formula(4, 2, result(0, 0)) + record(0x0207, text8("x,y")) + // the text result
        formula(4, 3, result(1, 1)) + formula(4, 4, result(2, 7)) + formula(4, 5, result(3, 0)) +
        formula(5, 1, result(0, 0)) + record(0x0203, cell(5, 2) + f64(1)); // text never given
    const WorksheetCells sheet = firstSheet(workbook("", cells));
    const struct {
        int row, column;
        const char* shown;
    } expected[] = {
        {1, 1, "number:1508.45"}, {1, 2, "number:1500"},   {1, 3, "number:1500.25"},
        {1, 4, "number:1"},       {1, 5, "number:1"},      {2, 1, "number:7"},
        {2, 2, "number:-1"},      {2, 3, "number:10"},     {3, 1, "boolean:1"},
        {3, 2, "error:42"},       {3, 3, "text:1,500.25"}, {3, 4, "empty"},
        {4, 1, "number:42.5"},    {4, 2, "text:x,y"},      {4, 3, "boolean:1"},
        {4, 4, "error:7"},        {4, 5, "text:"},         {5, 1, "error:-1"},
        {0, 0, "empty"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(show(sheet, e.row, e.column), e.shown) << e.row << "," << e.column;
    EXPECT_EQ(sheet.rowCount(), 6);
    EXPECT_EQ(sheet.usedColumns(), 6);
}

TEST(WorkbookReader, ReadsSharedStringsAcrossContinueRecords) {
    // String 1 starts one byte a character and goes on two bytes a character in the next
    // record; string 2 is two-byte; string 3 has a formatting run and string 4 extended data,
    // both running over a record boundary.
    const std::string sst =
        record(0x00FC, u32(5) + u32(5) + text8("name") + u16(4) + '\0' + "ab") +
        record(0x003C, std::string("\x01"
                                   "c\0d\0",
                                   5) +
                           u16(2) + '\x01' + "\xE5\x65\x2C\x67" + u16(4) + '\x08' + u16(1) +
                           "rich" + std::string("\x01\x00", 2)) +
        record(0x003C, std::string("\x00\x00", 2) + u16(3) + '\x04' + u32(6) + "ext" + "123") +
        record(0x003C, std::string("456"));
    std::string cells;
    for (unsigned i = 0; i < 5; ++i) cells += record(0x00FD, cell(1, i) + u32(i));
    cells += record(0x00FD, cell(1, 5) + u32(99)); // not in the table
    const WorksheetCells sheet = firstSheet(workbook(sst, cells));
    const char* expected[] = {"text:name", "text:abcd", "text:日本",
                              "text:rich", "text:ext",  "error:-1"};
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(show(sheet, 1, column), expected[column]) << column;
}

TEST(WorkbookReader, KeepsColumnsAToFOfTheRowsAskedForAndCutsLongTexts) {
    const std::string cells = record(0x0203, cell(5, 1) + f64(1)) + // a row past those asked for
                              record(0x0203, cell(1, 7) + f64(2)) + // column H
                              record(0x0203, cell(2, 5) + f64(3)) + // F3
                              record(0x0204, cell(1, 1) + text8(std::string(300, 'x')));
    const WorksheetCells sheet = firstSheet(workbook("", cells), 3);
    EXPECT_EQ(sheet.rowCount(), 3);
    EXPECT_EQ(sheet.usedColumns(), 8);
    EXPECT_EQ(show(sheet, 2, 5), "number:3");
    EXPECT_EQ(show(sheet, 5, 1), "empty");
    EXPECT_EQ(show(sheet, 1, 1), "text:" + std::string(256, 'x') + "...");
    // Excel 95 texts, decoded from their code page, are cut by the cells, at a character: 85 of
    // 日, as the 86th would pass 256 bytes.
    std::string kanji;
    for (int i = 0; i < 100; ++i) kanji += "日";
    WorksheetCells direct(2);
    direct.setText(1, 0, kanji);
    EXPECT_EQ(show(direct, 1, 0), "text:" + kanji.substr(0, 255) + "...");
}

TEST(WorkbookReader, ASheetCutShortOrWithBrokenCellsIsDamaged) {
    const std::string chart = bof(0x0020) + record(0x0203, cell(1, 1) + f64(9)) + eof();
    const std::string good = workbook("", chart + record(0x0203, cell(1, 2) + f64(1)));
    const WorksheetCells sheet = firstSheet(good);
    EXPECT_EQ(show(sheet, 1, 1), "empty") << "a chart's own records are not the sheet's";
    EXPECT_EQ(show(sheet, 1, 2), "number:1");

    const std::string damaged[] = {
        good.substr(0, good.size() - eof().size()),                        // no EOF
        workbook("", record(0x0203, cell(1, 1) + "\0\0\0")),               // NUMBER too short
        workbook("", record(0x0204, cell(1, 1) + u16(10) + '\0' + "abc")), // text past its record
        workbook("", record(0x0205, cell(1, 1))),                          // BOOLERR too short
    };
    for (const std::string& bytes : damaged) {
        const auto workbook = WorkbookReader::openBytes(bytes);
        ASSERT_TRUE(workbook) << &bytes - damaged;
        EXPECT_FALSE(workbook->readSheet(0, kRows)) << &bytes - damaged;
    }
}

TEST(WorkbookReader, DamagedFilesGiveNoCellsOrCellsTheProgramTakes) {
    // In this process, so that the sanitizers see inside the reader; what a load of each gives
    // is in the sheet loader's table. The last is a bare stream whose MULRK record starts at the
    // last column and runs past it.
    for (const char* name :
         {"root-entry-name-size-5632.xls", "root-entry-name-size-8192.xls",
          "directory-sector-0xffffffff.xls", "format-string-longer-than-its-record.xls",
          "second-dimension-record.xls", "second-dimension-record-too-large.xls",
          "mulrk-past-the-last-column.biff"}) {
        const auto workbook = WorkbookReader::openBytes(fileBytes(kFixtures + "/broken/" + name));
        const auto cells = workbook ? workbook->readSheet(0, kRows) : std::nullopt;
        EXPECT_TRUE(!cells || WorksheetCells::deserialize(cells->serialize(), kRows)) << name;
    }
}

} // namespace nimbrel

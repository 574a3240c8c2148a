#include "data/CsvExport.h"
#include "ichimoku/Ichimoku.h"
#include "workbook/WorkbookReader.h"

#include "LoaderTestSupport.h"

#include <gsf/gsf-outfile-zip.h>
#include <gsf/gsf-output-memory.h>
#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <map>
#include <random>
#include <sstream>

namespace nimbrel {

namespace {

constexpr int kRows = kMaxDays + 2;

const char* const kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

struct Part {
    std::string name, bytes;
    bool stored = false; // kept as it is, not deflated
};

// A zip of the parts, in their order, written by libgsf.
std::string zipOf(const std::vector<Part>& parts) {
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* zip = gsf_outfile_zip_new(memory, nullptr);
    for (const Part& part : parts) {
        GsfOutput* child =
            gsf_outfile_new_child_full(zip, part.name.c_str(), FALSE, "compression-level",
                                       part.stored ? GSF_ZIP_STORED : GSF_ZIP_DEFLATED, nullptr);
        gsf_output_write(child, part.bytes.size(),
                         reinterpret_cast<const guint8*>(part.bytes.data()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    gsf_output_close(GSF_OUTPUT(zip));
    g_object_unref(zip);
    const std::string bytes(
        reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory))),
        static_cast<size_t>(gsf_output_size(memory)));
    g_object_unref(memory);
    return bytes;
}

std::string relationship(const std::string& id, const std::string& type, const std::string& target,
                         const std::string& extra = "") {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelationships + "/" + type +
           "\" Target=\"" + target + "\"" + extra + "/>";
}

std::string relationships(const std::string& inside) {
    return "<Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           inside + "</Relationships>";
}

std::string worksheet(const std::string& inside) {
    return std::string("<worksheet xmlns=\"") + kMain + "\">" + inside + "</worksheet>";
}

std::string workbookPart(const std::string& inside) {
    return std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRelationships + "\">" +
           inside + "</workbook>";
}

const std::string kOneSheet =
    "<sheets><sheet name=\"sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>";

// Styles 0..5: General, built-in 14 (a date), yyyy/mm/dd, 0.00, a Japanese era date, "yen".
const std::string kStyles =
    std::string("<styleSheet xmlns=\"") + kMain +
    "\"><numFmts count=\"4\"><numFmt numFmtId=\"164\" formatCode=\"yyyy/mm/dd\"/>"
    "<numFmt numFmtId=\"165\" formatCode=\"0.00\"/>"
    "<numFmt numFmtId=\"166\" "
    "formatCode=\"[$-411]ggge&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>"
    "<numFmt numFmtId=\"167\" formatCode=\"&quot;yen&quot;#,##0\"/></numFmts>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"14\"/></cellStyleXfs>"
    "<cellXfs count=\"6\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\" applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"164\"/><xf numFmtId=\"165\"/><xf numFmtId=\"166\"/><xf numFmtId=\"167\"/>"
    "</cellXfs></styleSheet>";

// Shared strings 0..4; the second has runs and a reading aid, which is not part of its text.
const std::string kSharedStrings =
    std::string("<sst xmlns=\"") + kMain +
    "\" count=\"5\" uniqueCount=\"5\"><si><t>銘柄</t></si>"
    "<si><r><t>トヨタ</t></r><r><rPr><b/></rPr><t>自動車</t></r>"
    "<rPh sb=\"0\" eb=\"3\"><t>トヨタ</t></rPh><phoneticPr fontId=\"1\"/></si>"
    "<si><t>a&amp;b&#x65E5;<![CDATA[<c>]]></t></si><si><t/></si><si><t>" +
    [] {
        std::string kanji;
        for (int i = 0; i < 100; ++i) kanji += "日";
        return kanji;
    }() +
    "</t></si></sst>";

using Parts = std::map<std::string, std::string>;

// A workbook whose sheet1 holds `sheetData`; `changed` replaces parts (an empty text leaves the
// part out) or adds them.
std::string xlsx(const std::string& sheetData, const Parts& changed = {}) {
    Parts parts = {
        {"[Content_Types].xml", "<Types/>"},
        {"_rels/.rels", relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml", workbookPart(kOneSheet)},
        {"xl/_rels/workbook.xml.rels",
         relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                       relationship("rId2", "styles", "styles.xml") +
                       relationship("rId3", "sharedStrings", "/xl/sharedStrings.xml"))},
        {"xl/worksheets/sheet1.xml", worksheet("<sheetData>" + sheetData + "</sheetData>")},
        {"xl/styles.xml", kStyles},
        {"xl/sharedStrings.xml", kSharedStrings},
    };
    for (const auto& [name, bytes] : changed) parts[name] = bytes;
    std::vector<Part> members;
    for (const auto& [name, bytes] : parts)
        if (!bytes.empty()) members.push_back({name, bytes});
    return zipOf(members);
}

// The shortest decimal form that reads back as the same double.
std::string shortest(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string cellName(int row, int column) {
    return std::string(1, static_cast<char>('A' + column)) + std::to_string(row + 1);
}

// Every cell a sheet kept, "B2=number:1015", after "[rows, columns]" and the date system.
std::string dump(const WorksheetCells& cells) {
    std::ostringstream out;
    out << '[' << cells.rowCount() << " rows, " << cells.usedColumns() << " columns"
        << (cells.dateSystem() == DateSystem::From1904 ? ", 1904]" : "]");
    const char* kinds[] = {"empty", "number:", "date:", "text:", "boolean:", "error:"};
    for (int row = 0; row < cells.rowCount(); ++row) {
        for (int column = 0; column < WorksheetCells::kColumns; ++column) {
            const WorksheetCell& cell = cells.cell(row, column);
            if (cell.kind == CellKind::Empty) continue;
            out << ' ' << cellName(row, column) << '=' << kinds[static_cast<int>(cell.kind)];
            if (cell.kind == CellKind::Text)
                out << cells.text(cell) << (cell.cut ? "..." : "");
            else
                out << shortest(cell.number);
        }
    }
    return out.str();
}

// The dump of the first sheet, or what stopped it.
std::string firstSheet(const std::string& bytes, int rows = kRows) {
    const auto workbook = WorkbookReader::openBytes(bytes);
    if (!workbook) return "not opened";
    const std::optional<WorksheetCells> cells = workbook->readSheet(0, rows);
    return cells ? dump(*cells) : "not read";
}

std::string repeated(const std::string& text, size_t times) {
    std::string out;
    out.reserve(text.size() * times);
    for (size_t i = 0; i < times; ++i) out += text;
    return out;
}

// Bytes no compression shrinks: a picture of the workbook, say.
std::string noise(size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

} // namespace

TEST(XlsxReader, DownloadedWorkbooksLoadAndExportAsTheirTextDownloadsDo) {
    for (const char* name : {"classic.xlsx", "header.xlsx"}) {
        SCOPED_TRACE(name);
        auto series = emptySeries();
        const std::optional<LoadFailure> failure =
            loadDataFile(*series, kFixtures + QStringLiteral("/downloads"), QString::fromUtf8(name),
                         QStringLiteral("SHEET1"));
        EXPECT_FALSE(failure);
        computeIchimoku(*series);
        EXPECT_EQ(csvTable(*series), fileBytes(kFixtures + "/downloads/expected.csv"));
        // The sheet box lists the sheets through the reader program.
        EXPECT_EQ(workbookSheetNames(kFixtures + "/downloads/" + name),
                  QStringList{QStringLiteral("sheet1")});
    }
    EXPECT_TRUE(workbookSheetNames(kFixtures + "/downloads/yahoo.csv").isEmpty());
    EXPECT_TRUE(workbookSheetNames(kFixtures + "/not_a_workbook.xls").isEmpty());
}

TEST(XlsxReader, ReadsEachKindOfCellAsItsTypeAndStyleSay) {
    // The letter of a column `offset` past the last one kept.
    auto pastKept = [](int offset) {
        return std::string(1, static_cast<char>('A' + WorksheetCells::kColumns + offset));
    };
    const Parts in1904 = {
        {"xl/workbook.xml", workbookPart("<workbookPr date1904=\"true\"/>" + kOneSheet)}};
    const struct {
        const char* name;
        std::string sheetData;
        std::string cells;
        Parts parts = {};
        int rows = kRows;
    } cases[] = {
        {"numbers, dates by the cell's style",
         R"(<row r="2"><c r="A2"><v>39510</v></c><c r="B2" s="1"><v>39510</v></c>)"
         R"(<c r="C2" s="2" t="n"><v>39510.5</v></c><c r="D2" s="3"><v>1.5E3</v></c>)"
         R"(<c r="E2" s="4"><v>39510</v></c><c r="F2" s="5"><v>-0.25</v></c></row>)"
         R"(<row r="3"><c r="A3" s="99"><v> 7 </v></c></row>)",
         "[3 rows, 6 columns] A2=number:39510 B2=date:39510 C2=date:39510.5 D2=number:1500 "
         "E2=date:39510 F2=number:-0.25 A3=number:7"},
        {"shared and inline texts",
         R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>)"
         R"(<c r="C1" t="s"><v>2</v></c><c r="D1" t="s"><v>3</v></c>)"
         R"(<c r="E1" t="inlineStr"><is><r><t>ab</t></r><r><rPr/><t xml:space="preserve"> c</t></r></is></c>)"
         R"(<c r="F1" t="inlineStr"><is><t>&#x6771;&#33437;</t></is></c></row>)",
         "[1 rows, 6 columns] A1=text:銘柄 B1=text:トヨタ自動車 C1=text:a&b日<c> D1=text: "
         "E1=text:ab c F1=text:東芝"},
        {"formulas by the result they last computed",
         R"(<row r="2"><c r="A2"><f>1+1</f><v>2</v></c><c r="B2" t="str"><f>A1&amp;"x"</f><v>1,500.25</v></c>)"
         R"(<c r="C2" t="str"><f>""</f><v></v></c><c r="D2"><f>NOW()</f></c>)"
         R"(<c r="E2" t="e"><f>1/0</f><v>#DIV/0!</v></c><c r="F2" t="b"><f>TRUE()</f><v>1</v></c></row>)",
         "[2 rows, 6 columns] A2=number:2 B2=text:1,500.25 C2=text: E2=error:7 F2=boolean:1"},
        {"booleans and errors",
         R"(<row r="1"><c r="A1" t="b"><v>0</v></c><c r="B1" t="b"><v>true</v></c><c r="C1" t="b"><v>2</v></c>)"
         R"(<c r="D1" t="e"><v>#NULL!</v></c><c r="E1" t="e"><v>#VALUE!</v></c><c r="F1" t="e"><v>#REF!</v></c></row>)"
         R"(<row r="2"><c r="A2" t="e"><v>#NAME?</v></c><c r="B2" t="e"><v>#NUM!</v></c>)"
         R"(<c r="C2" t="e"><v>#N/A</v></c><c r="D2" t="e"><v>#GETTING_DATA</v></c></row>)",
         "[2 rows, 6 columns] A1=boolean:0 B1=boolean:1 C1=error:-1 D1=error:0 E1=error:15 "
         "F1=error:23 A2=error:29 B2=error:36 C2=error:42 D2=error:-1"},
        {"ISO dates as serial days",
         R"(<row r="1"><c r="A1" t="d"><v>2008-03-03</v></c><c r="B1" t="d"><v>2023-01-04T12:00:00</v></c>)"
         R"(<c r="C1" t="d"><v>1900-02-28</v></c><c r="D1" t="d"><v>1900-03-01T00:00:00Z</v></c>)"
         R"(<c r="E1" t="d"><v>06:00:00</v></c><c r="F1" t="d"><v>2008-02-30</v></c>)"
         R"(<c r="G1" t="d"><v>2100-02-29</v></c></row>)",
         "[1 rows, 7 columns] A1=date:39510 B1=date:44930.5 C1=date:59 D1=date:61 E1=date:0.25 "
         "F1=error:-1 G1=error:-1"},
        {"the 1904 date system",
         R"(<row r="1"><c r="A1" t="d"><v>2008-03-03</v></c><c r="B1" s="2"><v>38048</v></c></row>)",
         "[1 rows, 2 columns, 1904] A1=date:38048 B1=date:38048", in1904},
        {"cells and rows without references follow the one before",
         R"(<row><c><v>1</v></c><c t="s"><v>0</v></c></row><row r="4"><c r="C4"><v>3</v></c>)"
         R"(<c><v>4</v></c></row><row><c t="inlineStr"><is><t>x</t></is></c></row>)",
         "[5 rows, 4 columns] A1=number:1 B1=text:銘柄 C4=number:3 D4=number:4 A5=text:x"},
        {"only the rows asked for; columns past those kept only widen the sheet",
         "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"" + pastKept(1) +
             "1\"/></row>"
             "<row r=\"2\"><c r=\"" +
             pastKept(0) +
             "2\"><v>7</v></c></row>"
             "<row r=\"3\"><c r=\"A3\"><v>3</v></c></row><row r=\"4\"><c "
             "r=\"Z4\"><v>4</v></c></row>",
         "[1 rows, " + std::to_string(WorksheetCells::kColumns + 2) + " columns] A1=number:1",
         {},
         2},
        {"a cell recorded twice: the later one holds",
         R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="A1"><v>5</v></c><c r="B1"><v>1</v></c>)"
         R"(<c r="B1" t="s"><v>1</v></c><c r="C1"><v>2</v></c><c r="C1"/></row>)",
         "[1 rows, 3 columns] A1=number:5 B1=text:トヨタ自動車"},
        {"cells the file damaged",
         R"(<row r="2"><c r="A2"><v>1,5</v></c><c r="B2" t="s"><v>5</v></c><c r="C2" t="s"><v>x</v></c>)"
         R"(<c r="D2" t="q"><v>1</v></c><c r="E2"><v>1E999</v></c><c r="F2"><v></v></c></row>)",
         "[2 rows, 6 columns] A2=error:-1 B2=error:-1 C2=error:-1 D2=error:-1 E2=error:-1 "
         "F2=error:-1"},
        {"long texts keep their first 256 bytes, at a character",
         R"(<row r="1"><c r="A1" t="s"><v>4</v></c><c r="B1" t="inlineStr"><is><t>)" +
             std::string(300, 'x') + R"(</t></is></c><c r="C1" t="str"><v>)" +
             std::string(257, 'y') + "</v></c></row>",
         "[1 rows, 3 columns] A1=text:" + repeated("日", 85) + "... B1=text:" +
             std::string(256, 'x') + "... C1=text:" + std::string(256, 'y') + "..."},
        {"shared strings when the workbook has no table",
         R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)",
         "[1 rows, 1 columns] A1=error:-1",
         {{"xl/sharedStrings.xml", ""},
          {"xl/_rels/workbook.xml.rels",
           relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml"))}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstSheet(xlsx(c.sheetData, c.parts), c.rows), c.cells) << c.name;
}

TEST(XlsxReader, FindsTheSheetsWhereTheRelationshipsLead) {
    const std::string cell = R"(<row r="1"><c r="A1"><v>1</v></c></row>)";
    const std::string sheetPart = worksheet("<sheetData>" + cell + "</sheetData>");
    const std::string strict = "http://purl.oclc.org/ooxml/officeDocument/relationships";
    const struct {
        const char* name;
        std::vector<Part> parts;
        std::vector<std::string> sheets;
    } cases[] = {
        {"a workbook part of another name, targets relative to it and absolute",
         {{"_rels/.rels", relationships(relationship("rId9", "officeDocument", "/book/main.xml"))},
          {"book/main.xml",
           workbookPart("<sheets><sheet name=\"one\" sheetId=\"1\" r:id=\"a\"/>"
                        "<sheet name=\"チャート\" sheetId=\"2\" r:id=\"b\"/>"
                        "<sheet name=\"Two\" sheetId=\"3\" r:id=\"c\"/></sheets>")},
          {"book/_rels/main.xml.rels",
           relationships(relationship("a", "worksheet", "../sheets/./one.xml") +
                         relationship("b", "chartsheet", "charts/chart1.xml") +
                         relationship("c", "worksheet", "/sheets/two.xml"))},
          {"book/charts/chart1.xml", "<chartsheet/>"},
          {"sheets/one.xml", sheetPart},
          {"sheets/two.xml", sheetPart}},
         {"one", "Two"}},
        {"no package relationships; parts stored, with prefixes, named in another case",
         {{"xl/workbook.xml",
           std::string("<x:workbook xmlns:x=\"") + kMain + "\" xmlns:rel=\"" + kRelationships +
               "\"><x:sheets><x:sheet name=\"sheet1\" rel:id=\"rId1\"/></x:sheets></x:workbook>",
           true},
          {"xl/_rels/workbook.xml.rels",
           relationships("<Relationship Id=\"rId1\" Type=\"" + strict +
                         "/worksheet\" Target=\"Worksheets/Sheet1.XML\"/>"),
           true},
          {"xl/worksheets/sheet1.xml",
           std::string("<x:worksheet xmlns:x=\"") + kMain +
               "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\"><x:v>1</x:v></x:c></x:row>"
               "</x:sheetData></x:worksheet>",
           true}},
         {"sheet1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workbook = WorkbookReader::openBytes(zipOf(c.parts));
        ASSERT_TRUE(workbook);
        EXPECT_EQ(workbook->sheetNames(), c.sheets);
        for (size_t sheet = 0; sheet < c.sheets.size(); ++sheet) {
            const std::optional<WorksheetCells> cells = workbook->readSheet(sheet, kRows);
            EXPECT_TRUE(cells && dump(*cells) == "[1 rows, 1 columns] A1=number:1") << sheet;
        }
    }
}

TEST(XlsxReader, RefusesWorkbooksThatAreDamagedOrHostile) {
    enum class Refused { No, AtOpen, AtSheet };
    const std::string cell = R"(<row r="1"><c r="A1"><v>1</v></c></row>)";
    auto sheet = [&](const std::string& inside) {
        return Parts{{"xl/worksheets/sheet1.xml", inside}};
    };
    auto workbookRelationships = [](const std::string& inside) {
        return Parts{{"xl/_rels/workbook.xml.rels", relationships(inside)}};
    };
    auto nested = [&](int depth) { // the cell's <c> is at depth 4
        return sheet(worksheet("<sheetData><row><c>" + repeated("<x>", size_t(depth - 4)) +
                               repeated("</x>", size_t(depth - 4)) +
                               "<v>1</v></c></row></sheetData>"));
    };
    auto attributes = [&](int count) { // r="A1" and count - 1 more
        std::string tag = "<c r=\"A1\"";
        for (int i = 1; i < count; ++i) tag += " a" + std::to_string(i) + "=\"\"";
        return sheet(worksheet("<sheetData><row>" + tag + "><v>1</v></c></row></sheetData>"));
    };
    auto text = [&](size_t bytes) {
        return sheet(worksheet("<sheetData><row><c t=\"inlineStr\"><is><t>" +
                               std::string(bytes, 'A') + "</t></is></c></row></sheetData>"));
    };
    // Texts of 1 MB, which deflate at about 1000:1, before the cells.
    auto inflating = [&](size_t megabytes) {
        const std::string megabyte = "<x>" + std::string((size_t(1) << 20) - 7, 'a') + "</x>";
        return worksheet(repeated(megabyte, megabytes) + "<sheetData>" + cell + "</sheetData>");
    };
    const std::string dtd = "<!DOCTYPE worksheet [<!ENTITY e \"x\">]>";
    const std::string small = xlsx(cell, sheet(inflating(17)));
    const struct {
        const char* name;
        std::string bytes;
        Refused refused;
    } cases[] = {
        {"the workbook as written", xlsx(cell), Refused::No},
        {"comments and processing instructions",
         xlsx(cell, sheet("<?xml version=\"1.0\"?><!-- saved by hand -->" +
                          worksheet("<?mso-application x?><sheetData>" + cell + "</sheetData>"))),
         Refused::No},
        {"a DTD in the workbook part",
         xlsx(cell, {{"xl/workbook.xml", dtd + workbookPart(kOneSheet)}}), Refused::AtOpen},
        {"a DTD in the sheet", xlsx(cell, sheet(dtd + worksheet("<sheetData/>"))),
         Refused::AtSheet},
        {"an entity that is not defined, in a shared string a cell uses",
         xlsx(R"(<row><c t="s"><v>0</v></c></row>)",
              {{"xl/sharedStrings.xml", std::string("<sst><si><t>&lol9;</t></si></sst>")}}),
         Refused::AtSheet},
        {"elements 64 deep", xlsx("", nested(64)), Refused::No},
        {"elements 65 deep", xlsx("", nested(65)), Refused::AtSheet},
        {"a tag of 256 attributes", xlsx("", attributes(256)), Refused::No},
        {"a tag of 257 attributes", xlsx("", attributes(257)), Refused::AtSheet},
        {"a text of 3 MB", xlsx("", text(size_t(3) << 20)), Refused::No},
        {"a text of 5 MB", xlsx("", text(size_t(5) << 20)), Refused::AtSheet},
        {"a sheet that is not XML", xlsx("", sheet("date,open\n2023-01-04,1015\n")),
         Refused::AtSheet},
        {"a sheet cut short", xlsx("", sheet(worksheet("<sheetData>" + cell).substr(0, 60))),
         Refused::AtSheet},
        {"a cell reference past the sheet", xlsx(R"(<row><c r="XFE1"><v>1</v></c></row>)"),
         Refused::AtSheet},
        {"a row number past the sheet", xlsx(R"(<row r="1048577"><c><v>1</v></c></row>)"),
         Refused::AtSheet},
        {"a part inflating to 15 MB at 1000:1", xlsx(cell, sheet(inflating(15))), Refused::No},
        {"a part claiming 17 MB in a file of a few KB", small, Refused::AtSheet},
        {"a part inflating to 17 MB at 1000:1 beside a picture of 256 KB",
         xlsx(cell, {{"xl/worksheets/sheet1.xml", inflating(17)},
                     {"xl/media/image1.png", noise(256 << 10)}}),
         Refused::AtSheet},
        {"no workbook part where the package says",
         xlsx(cell, {{"_rels/.rels",
                      relationships(relationship("rId1", "officeDocument", "xl/book.xml"))}}),
         Refused::AtOpen},
        {"the package's relationship leading to itself",
         xlsx(cell, {{"_rels/.rels",
                      relationships(relationship("rId1", "officeDocument", "/_rels/.rels"))}}),
         Refused::AtOpen},
        {"a sheet leading out of the package",
         xlsx(cell, workbookRelationships(relationship("rId1", "worksheet", "../../sheet1.xml"))),
         Refused::AtOpen},
        {"a sheet outside the package",
         xlsx(cell, workbookRelationships(relationship("rId1", "worksheet", "file:///etc/passwd",
                                                       " TargetMode=\"External\""))),
         Refused::AtOpen},
        {"a sheet whose relationship is of styles",
         xlsx(cell, workbookRelationships(relationship("rId1", "styles", "worksheets/sheet1.xml"))),
         Refused::AtOpen},
        {"a sheet leading to the workbook part",
         xlsx(cell, workbookRelationships(relationship("rId1", "worksheet", "/xl/workbook.xml"))),
         Refused::AtOpen},
        {"a sheet leading to its relationships",
         xlsx(cell,
              workbookRelationships(relationship("rId1", "worksheet", "_rels/workbook.xml.rels"))),
         Refused::AtSheet},
        {"no workbook relationships", xlsx(cell, {{"xl/_rels/workbook.xml.rels", ""}}),
         Refused::AtOpen},
        {"no sheets", xlsx(cell, {{"xl/workbook.xml", workbookPart("<sheets/>")}}),
         Refused::AtOpen},
        {"only a chart sheet",
         xlsx(cell,
              workbookRelationships(relationship("rId1", "chartsheet", "worksheets/sheet1.xml"))),
         Refused::AtOpen},
        {"styles that are not there", xlsx(cell, {{"xl/styles.xml", ""}}), Refused::AtOpen},
        {"shared strings that are not there", xlsx(cell, {{"xl/sharedStrings.xml", ""}}),
         Refused::AtOpen},
        {"styles with a DTD", xlsx(cell, {{"xl/styles.xml", dtd + "<styleSheet/>"}}),
         Refused::AtOpen},
        {"a zip cut short", small.substr(0, small.size() / 2), Refused::AtOpen},
        {"a zip without a workbook", zipOf({{"yahoo.csv", "Date,Open\n"}}), Refused::AtOpen},
    };
    for (const auto& c : cases) {
        const auto started = std::chrono::steady_clock::now();
        const auto workbook = WorkbookReader::openBytes(c.bytes);
        const Refused refused = !workbook                        ? Refused::AtOpen
                                : !workbook->readSheet(0, kRows) ? Refused::AtSheet
                                                                 : Refused::No;
        EXPECT_EQ(refused, c.refused) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << c.name;
    }
}

// Through the reader program, as the program loads them (tests/fixtures/README.md says what
// is wrong with each): in time, a file that cannot be read.
TEST(XlsxReader, EveryHostileDownloadIsAFileThatCannotBeRead) {
    const QString folder = kFixtures + QStringLiteral("/downloads/hostile/");
    for (const char* name : {"bomb.xlsx", "bomb_lying_size.xlsx", "entities.xlsx",
                             "deep_nesting.xlsx", "huge_text.xlsx", "rels_missing_sheet.xlsx",
                             "rels_target_self.xlsx", "rels_target_missing.xlsx", "truncated.xlsx",
                             "no_workbook_part.xlsx", "zipped_csv.xlsx"}) {
        auto series = emptySeries();
        const auto started = std::chrono::steady_clock::now();
        const std::optional<LoadFailure> failure =
            loadDataFile(*series, folder, QString::fromUtf8(name), QStringLiteral("sheet1"));
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << name;
        EXPECT_EQ(failure ? failure->message.text : QString(),
                  QStringLiteral("ファイルを読めません\n") + folder + QString::fromUtf8(name));
    }
}

} // namespace nimbrel

#include "WindowScenario.h"

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

// What users do in the window, one row a scenario: its name, then its steps (WindowScenario.h).
// rising.txt and other.txt are written by the scenario: day d of rising.txt is 2020-01-01 plus
// d - 1 days, closing at 1000 + d between a low of 995 + d and a high of 1005 + d.
struct Row {
    const char* name;
    const char* steps;
};

const Row kScenarios[] = {
    // The settings: read at the start, written back at the end as they were read, or as the
    // user changed them during the run.
    {"DefaultsAreWrittenAtTheEnd",
     "start; expect enabled recentFiles no; quit; expect setting top=50 left=50 height=4500 "
     "width=6500 "
     "windowState=0 SpanForward=True SpanBack=False maxLength=120 keta=0.01 logY=False "
     "filePattern=*.* sheet=sheet1$ bars=daily crosshair=False reloadOnChange=False "
     "basicNumbers=9,17,26,33,42,51,65,76,83,97,101,129,172,226,257 recentFile1= "
     "recentSheet8=; start; menu weeklyBars; quit; expect setting bars=weekly"},
    {"SettingsAsReadStayAsRead",
     "settings left=65 width=6512 height=4507 windowState=1 SpanForward=-1; start; quit; "
     "expect setting left=65 width=6512 height=4507 windowState=1 SpanForward=-1; "
     "settings top=-4800 left=-90 height=6007 windowState=2 maxLength=250 keta=0.05 logY=True "
     "SpanBack=True sheet=prices$ bars=monthly basicNumbers=9,26 crosshair=True "
     "reloadOnChange=True recentFile1=/nowhere/a.xls recentSheet1=日足; start; quit; "
     "expect setting top=-4800 left=-90 height=6007 windowState=2 maxLength=250 keta=0.05 "
     "logY=True SpanBack=True sheet=prices$ bars=monthly basicNumbers=9,26 crosshair=True "
     "reloadOnChange=True recentFile1=/nowhere/a.xls recentSheet1=日足"},
    {"ChangesDuringTheRunAreWrittenAtTheEnd",
     "settings top=1500 width=15000 filePattern=*.xls; start; expect shown sheetBox; "
     "answer 3; menu decimals; "
     "open examples/nikkei_sjis_yymmdd.txt; key PgUp; menu laggingLines; click back; "
     "click execute; menu crosshair; quit; expect setting keta=0.001 SpanBack=True "
     "crosshair=True maxLength=120 top=1500; start; open examples/one_price_lf.txt; "
     "expect legend \"(終値104.25 転換103.875 基準102.625 ｽﾊﾟﾝ0,0)\"; expect checked crosshair"},
    // Opening files: what another file resets and what it keeps.
    {"TheFilePanelOpensFilesAndSheets",
     "start; open two_sheets.xls; menu openDataFile; type name examples; "
     "type name nikkei_sjis_yymmdd.txt; "
     "expect title \"Nimbrel(32) … nikkei_sjis_yymmdd.txt\"; expect shown panel no; "
     "expect bars 70; menu openDataFile; click panel right; expect shown panel no; "
     "menu openDataFile; type name ../two_sheets.xls held; expect shown sheetBox; "
     "expect sheets prices,Sheet1 sheet1; type sheet prices; type name ../two_sheets.xls; "
     "expect bars 10; "
     "expect title \"Nimbrel(32) … two_sheets.xls\"; type sheet sheet1; menu openDataFile; "
     "type name wrong_sheet.xls; expect messages 1 シート名を確認して下さい; "
     "expect title Nimbrel(32); expect bars 0; expect pointer normal; menu openDataFile; "
     "expect sheets data; choose data; type name wrong_sheet.xls; expect messages 1; "
     "expect bars 5; type sheet sheet1; "
     "menu openDataFile; type name two_sheets.xls; expect bars 8; type name *.csv; expect shown "
     "sheetBox no; "
     "quit; expect setting filePattern=*.csv sheet=sheet1$"},
    {"AnotherFileResetsTheToolsAndKeepsTheViewOptions",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; answer 50 2; menu daysShown; "
     "menu decimals; menu basicNumbers; click 36; expect marks 15 44; click 30; "
     "expect shown readout; menu logAxis; open examples/one_price_lf.txt; expect marks 0; "
     "expect shown readout no; expect shown axisPanel no; expect days 1-30; "
     "expect legend \"(終値104.25 転換103.88 基準102.63 ｽﾊﾟﾝ0,0)\""},
    {"ADroppedFileOpensAndADroppedFolderShowsThePanel",
     "start; drop https://example.com/prices.txt; expect bars 0; "
     "drop examples/nikkei_sjis_yymmdd.txt; expect bars 70; drop examples; "
     "expect shown panel; expect bars 70"},
    {"TheVersionWindowComesBackWhereItWasLeft",
     "start; menu ﾊﾞｰｼﾞｮﾝ情報(&A); shift about -61 47; click ok; expect shown about no; "
     "menu versionInfo; expect placed about; click about; expect shown about no; "
     "menu versionInfo; expect placed about; click chart right; expect shown about no; "
     "expect shown fileMenu"},
    // Moving through time by keys, the wheel and the middle button.
    {"KeysScrollAndShowFewerOrMoreDays",
     "write rising.txt 300; start 900x600; open rising.txt; expect days 181-300; key Left; "
     "expect days 180-299; key Right*2; expect days 181-300; key PgUp; menu resetChart; "
     "expect days 181-300; key PgUp; expect days 61-180; "
     "expect high 1185; key PgUp; expect days 1-120; key PgDown; expect days 121-240; "
     "key End; expect days 181-300; key Home; expect days 1-120; key +; expect days 31-120; "
     "key -; expect days 1-120; key +*20; expect days 111-120; key -*30; expect days 1-300; "
     "key Ctrl++; expect days 1-300"},
    {"ArrowsMoveTheReadoutAndTheChartFollowsIt",
     "write rising.txt 300; start 900x600; open rising.txt; click 183; key Left*2 readout; "
     "expect readout title 20200629; expect days 181-300; key Left readout; "
     "expect readout title 20200628; expect days 180-299; key End readout; key Right*200; "
     "expect readout title 20201026; expect days 181-300"},
    {"TheWheelScrollsAndZoomsAndTheMiddleButtonPans",
     "write rising.txt 300; start 900x600; open rising.txt; wheel 120; expect days 177-296; "
     "wheel 60; expect days 177-296; wheel 60; expect days 173-292; wheel -240; "
     "expect days 181-300; wheel 120 ctrl 218; expect days 188-283; wheel -120 ctrl 218; "
     "expect days 180-299; drag 200 10.2; expect days 170-289; expect shown readout no; "
     "key +*3; expect days 239-289; wheel 120; expect days 237-287"},
    {"TheCrosshairInvertsTheChartAndLeavesItAsItWas",
     "write rising.txt 300; start 900x600; open rising.txt; answer 0; menu decimals; snapshot; "
     "menu crosshair; move 250.45@1200; expect crosshair 1200; expect crossed 250; move 320; "
     "expect shown crosshairPrice; move 200; "
     "menu crosshair; expect image same; expect shown crosshairPrice no; menu logAxis; "
     "click log double; menu crosshair; move 250@1250; expect crosshair 1250"},
    // The file of every evening: reloads and the recent files.
    {"AReloadKeepsTheDaysShownAndAFailedOneKeepsTheChart",
     "write rising.txt 300; start 900x600; open rising.txt; click 301; expect readout close 0; "
     "key PgUp; write rising.txt 302; menu reload; expect days 63-182; expect bars 302; "
     "expect readout close 1301; "
     "write rising.txt 303 \"20201030 1304 13\"; menu reload; expect bars 302; "
     "expect days 63-182; expect high 1187; "
     "expect title \"Nimbrel(32) … rising.txt （再読み込みできません）\"; "
     "expect messages 1 306行目のデータを読めません; menu reloadOnChange; "
     "write rising.txt 310; wait bars 310; expect days 71-190; "
     "expect title \"Nimbrel(32) … rising.txt\"; "
     "append rising.txt \"20201106 1311 1316 1306 1311\"; wait bars 311; expect bars 311; "
     "remove rising.txt; wait 1000; expect title \"Nimbrel(32) … rising.txt\"; "
     "write rising.txt 312 \"20201108 1313 13\"; wait 1000; expect bars 311; "
     "expect title \"Nimbrel(32) … rising.txt "
     "（再読み込みできません）\"; "
     "expect messages 1; quit; expect setting reloadOnChange=True"},
    {"RecentFilesOpenWithTheirSheetAndAMissingOneLeavesTheList",
     "write rising.txt 300; write other.txt 50; start; open rising.txt; type sheet prices; "
     "open two_sheets.xls; type sheet sheet1; open other.txt; open rising.txt; "
     "expect recent 1 rising.txt; expect recent 3 \"two_sheets.xls [prices]\"; expect recent 4 ''; "
     "quit; "
     "start; menu recentFile3; expect bars 10; remove other.txt; menu recentFile3; "
     "expect messages 1 ファイルを開けません; expect bars 10; expect recent 3 ''; quit; start; "
     "expect recent 2 rising.txt; expect recent 3 ''; expect enabled recentFiles"},
    {"AFileOpensWithAnAxisOfItsOwnAndAWorkbookIsListedWithItsSheet",
     "write rising.txt 300; copy two_sheets.xls two_sheets.xlsx; start; open rising.txt; "
     "answer 5; menu axisStep; expect view step 5; type sheet prices; open two_sheets.xlsx; "
     "expect bars 10; expect view step 0; type sheet sheet1; open rising.txt; "
     "expect recent 2 \"two_sheets.xlsx [prices]\"; menu recentFile2; expect bars 10"},
    // The mouse tools and the option panels.
    {"TheReadoutFollowsThePointerAfterAClick",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; move 60; expect shown readout no; "
     "click 60; expect readout title 20000121; expect readout close 1236; move 45; "
     "expect readout title 19991231; expect readout close 1226.3; "
     "expect readout laggingFront 1483.3; expect readout laggingBack 1235.5; answer 0; menu "
     "decimals; expect readout close 1226; "
     "click readout; expect shown readout no"},
    {"RightClicksCloseTheToolsAndPopUpTheMenus",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; click 30; click 30 right ctrl; "
     "expect shown readout no; expect shown fileMenu; hide fileMenu; menu measureDays; "
     "click 30 right ctrl shift; expect shown measuring no; expect shown optionsMenu; "
     "expect shown fileMenu no"},
    {"MeasuringCountsTheDaysBetweenTwoClicks",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; menu measureDays; "
     "expect measuring dayCount ''; click 30 right; hide optionsMenu; menu measureDays; "
     "expect measuring percent ''; move 40; click 40; move 38; menu measureDays; "
     "expect measuring dayCount ''; move 40; expect measuring from 19991224; click 40; "
     "expect shown readout no; move 36; expect measuring dayCount -5; "
     "expect measuring to 19991220; expect measuring priceRange 83; "
     "expect measuring percent 6.77; click 44; expect shown measuring no"},
    {"TheAnalysisToolsMarkTheChartAndKeepTheirDatesAcrossBars",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; menu basicNumbers; click 36; "
     "expect shown readout no; expect marks 15 44; expect lines 時間論 \"9 19991230|17 20000111\"; "
     "menu priceTargets; click 36@1318; click 40@1221; click 44@1262; "
     "expect lines 値幅観測 \"A 1320  (19991220)|B 1219.2  (19991224)|C 1263.9  (19991230)|"
     "N 1163.1|V 1174.5|E 1118.4|NT 1207.8\"; menu weeklyBars; expect checked weeklyBars; "
     "expect bars 14; expect marks 15 16; menu dailyBars; expect bars 70; "
     "expect marks 15 44; key Esc window; expect marks 0; expect shown 値幅観測 no; "
     "menu equalCount; click 30; click 34; expect marks 2 38; answer \"9, ２６\" 9,x; "
     "menu basicNumberList; menu basicNumberList; menu basicNumbers; click 36; expect marks 4"},
    {"TheZoomBandIsInvertedAndTwoClicksZoom",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; menu zoom; click 30; snapshot; "
     "move 50; expect image changed; click 50 right; expect image same; menu zoom; click 50;  move "
     "35; click 35; expect days 35-50; menu resetChart; "
     "expect days 1-70"},
    {"TheOptionBoxesTellWhatTheyRefuseAndTheUsersRangeHolds",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; answer 71; menu daysShown; "
     "expect messages 1 最大表示日数は70日です; answer 20000 17000; menu priceRange; "
     "expect high 20000"},
    {"ThePanelsSwitchTheAxisAndTheLaggingLines",
     "start 900x600; open examples/nikkei_sjis_yymmdd.txt; menu logAxis; click log; "
     "click axisCancel; expect shown axisPanel no; expect view logY; menu logAxis; "
     "click normal double; expect view logY no; menu logAxis; click log double; "
     "expect view logY; menu laggingLines; menu logAxis; expect shown laggingPanel no; "
     "menu laggingLines; expect shown axisPanel; click back; click forward; click execute; "
     "expect view spanForward no; expect view spanBack; menu laggingLines; "
     "expect checked forward no; click axisPanel right; expect shown axisPanel no; "
     "expect shown optionsMenu no"},
    // Printing: sheets written as PDF files, over files already there.
    {"PrintCommandsPutTheChartOnTheChosenPaper",
     "start; open examples/nikkei_sjis_yymmdd.txt; paper A5 landscape; "
     "pdf first.pdf '' second.pdf; menu printUpperHalf; "
     "expect title \"Nimbrel(32) … nikkei_sjis_yymmdd.txt *\"; expect files . ''; "
     "paper A4; paper cancel; open examples/one_price_lf.txt; menu printLowerHalf; "
     "expect title \"Nimbrel(32) … one_price_lf.txt *\"; expect pdf first.pdf 1 595x420; "
     "menu 印刷(&P); expect files . first.pdf; menu print; expect asked 3; "
     "expect pdf second.pdf 1 595x842; expect pdf first.pdf 1 595x420; expect files . "
     "first.pdf,second.pdf; expect messages 0"},
    {"AWholeSheetOfAnEmptyChartFinishesTheSheetLeftHalfPrinted",
     "start; open examples/nikkei_sjis_yymmdd.txt; paper A4; pdf upper.pdf; "
     "menu printUpperHalf; expect files . ''; open text/headings_only.txt; expect bars 0; "
     "menu print; expect files . upper.pdf; expect pdf upper.pdf 1"},
    {"APrinterErrorDropsItsSheetAndKeepsAnOlderFile",
     "mkdir sheets; put sheets/chart.pdf older; start; paper A4; "
     "pdf '' /nonexistent/x.pdf sheets/chart.pdf sheets/chart.pdf; menu print; expect asked 0; "
     "open examples/nikkei_sjis_yymmdd.txt; menu print; expect file sheets/chart.pdf older; "
     "menu printUpperHalf; "
     "expect messages 1 \"印刷できません\n/nonexistent/x.pdf: \"; "
     "expect title \"Nimbrel(32) … nikkei_sjis_yymmdd.txt\"; menu printUpperHalf; "
     "rename sheets moved; menu printLowerHalf; expect messages 2 印刷できません; "
     "expect file moved/chart.pdf older; expect files moved chart.pdf; rename moved sheets; "
     "menu printUpperHalf; quit; expect pdf sheets/chart.pdf 1; expect messages 2"},
};

// Rows are named by their name alone, not by their bytes.
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class WindowScenarios : public ::testing::TestWithParam<Row> {};

TEST_P(WindowScenarios, RunAsWritten) {
    runScenario(GetParam().name, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Table, WindowScenarios, ::testing::ValuesIn(kScenarios),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace

} // namespace nimbrel

#include "chart/ViewOperations.h"
#include "options/OptionCommands.h"
#include "options/ZoomTool.h"

#include "ChartSeries.h"
#include "LoaderTestSupport.h"
#include "Printers.h"
#include "ScriptedInputs.h"

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

using Command = OptionResult (*)(const PriceSeries&, ViewState&, InputBoxes&);

// The step and the range on a plot of 400 rows of pixels.
constexpr int kPlotRows = 400;
OptionResult axisStep(const PriceSeries& series, ViewState& view, InputBoxes& boxes) {
    return changeAxisStep(series, view, boxes, kPlotRows);
}
OptionResult axisRange(const PriceSeries& series, ViewState& view, InputBoxes& boxes) {
    return changeAxisRange(series, view, boxes, kPlotRows);
}

// Twenty dates a month from 19990104: days 1..20 are 19990104..19990123, days 21..40
// 19990204..19990223 and days 41..60 19990304..19990323. The highest high is 5000, on day 60.
const PriceSeries& series() {
    static const std::unique_ptr<PriceSeries> days = chartSeries(60);
    return *days;
}

ViewState newestView() {
    ViewState view;
    showNewestDays(series(), view);
    return view;
}

// What a command changes of the view.
auto changed(const ViewState& v) {
    return std::tuple(v.maxLength, v.firstDay, v.endOffset, v.visibleHigh, v.visibleLow, v.userStep,
                      v.reduceX, v.reduceY, v.decimalsUnit);
}

QStringList lines(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* text : texts) out << QString::fromUtf8(text);
    return out;
}

// A command run on `view` with the user's entries typed into its boxes in turn.
struct Answered {
    OptionResult result;
    ViewState view;
    std::vector<ScriptedInputs::Box> asked;
};
Answered run(Command command, const std::vector<const char*>& entries,
             ViewState view = newestView()) {
    ScriptedInputs boxes;
    for (const char* entry : entries) boxes.answers.push_back(QString::fromUtf8(entry));
    const OptionResult result = command(series(), view, boxes);
    return {result, view, boxes.asked};
}

} // namespace

TEST(OptionCommands, DecimalsAreZeroToFourAndShowTheCurrentNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"2.7", "0.01"}, {"-1", "1"},     {"9", "0.0001"}, {"3", "0.001"},
        {"", "0.05"},    {"abc", "0.05"}, {"1,5", "0.05"}};
    for (const auto& [entry, decimalsUnit] : cases) {
        ViewState view;
        view.decimalsUnit = price("0.05");
        ScriptedInputs boxes;
        boxes.answers = {QString::fromUtf8(entry)};
        EXPECT_EQ(changeDecimals(view, boxes).redraw, price(decimalsUnit) != price("0.05"))
            << entry;
        EXPECT_EQ(view.decimalsUnit, price(decimalsUnit)) << entry;
    }
    ViewState view; // decimalsUnit 0.01
    ScriptedInputs boxes;
    changeDecimals(view, boxes);
    view.decimalsUnit = Fixed4::fromWhole(1);
    changeDecimals(view, boxes);
    EXPECT_EQ(boxes.asked[0].prompt,
              lines({"小数点以下の桁数は?", "(現在の桁数 = 2)", "(指定可能最大桁数 = 4)"}));
    EXPECT_EQ(boxes.asked[1].prompt[1], QStringLiteral("(現在の桁数 = 0)"));
}

TEST(OptionCommands, UsableEntriesChangeTheViewAsTheBoxesSay) {
    // Days shown: halves go to the even count, and the last drawn day stays where it was.
    for (const auto& [entry, days] : {std::pair{"30", 30}, {"2.5", 2}, {"3.5", 4}, {"60", 60}}) {
        const Answered shown = run(changeDaysShown, {entry});
        EXPECT_EQ(shown.view.maxLength, days) << entry;
        EXPECT_EQ(shown.view.firstDay, 60 - days + 1) << entry;
    }
    ViewState leftOut = newestView();
    leftOut.endOffset = 10;
    Answered r = run(changeDaysShown, {"20"}, leftOut);
    EXPECT_EQ(r.asked[0].prompt, lines({"表示日数は?", "(現在の日数=50)", "  (最大日数=50)"}));
    EXPECT_EQ(r.view.firstDay, 31); // days 31..50

    // A period runs from its first trading day to its last one; the leading number is read.
    r = run(selectPeriod, {"19990130", "19990224"});
    EXPECT_EQ(r.asked[0].prompt, lines({"先頭日付は", "(19990104～)"}));
    EXPECT_EQ(r.asked[0].defaultText, QStringLiteral(" 19990104"));
    EXPECT_EQ(r.asked[1].prompt, lines({"末尾日付は", "(～19990323)"}));
    EXPECT_EQ(r.asked[1].defaultText, QStringLiteral(" 19990323"));
    EXPECT_EQ(std::tuple(r.view.firstDay, r.view.endOffset, r.view.maxLength),
              std::tuple(21, 20, 20));                      // 19990204..19990223
    EXPECT_EQ(r.view.visibleHigh, Fixed4::fromWhole(4759)); // day 27: 4200 + 999 % 500 + 60
    r = run(selectPeriod, {"19990104 from", "19990323"}, r.view);
    EXPECT_EQ(std::tuple(r.view.firstDay, r.view.endOffset, r.view.maxLength),
              std::tuple(1, 0, 60));

    // A step rescans a range of the user's own.
    ViewState userRange = newestView();
    userRange.visibleHigh = Fixed4::fromWhole(9999);
    r = run(axisStep, {"25"}, userRange);
    EXPECT_EQ(r.asked[0].prompt, lines({"Y軸の刻み値は"}));
    EXPECT_EQ(r.view.userStep, 25.0f);
    EXPECT_EQ(r.view.visibleHigh, Fixed4::fromWhole(5000));

    r = run(axisRange, {"1200.5", "1200.5"}); // a flat range
    EXPECT_EQ(r.view.visibleHigh, price("1200.5"));
    EXPECT_EQ(r.view.visibleLow, price("1200.5"));

    // Reductions above 100 percent are held to 1.
    r = run(reduceDrawing, {"25", "150"});
    EXPECT_EQ(r.asked[1].prompt, lines({"画面(横)の縮小率は", "(最大=100)"}));
    EXPECT_EQ(r.asked[1].defaultText, QStringLiteral("100"));
    EXPECT_EQ(r.view.reduceY, 0.25f);
    EXPECT_EQ(r.view.reduceX, 1.0f);
}

TEST(OptionCommands, UnusableEntriesChangeNothingAndAskNoFurtherBox) {
    // The periods: a start before the first day or after the last one, an end after the last
    // day or before the start, a period without a trading day, and Cancel.
    const std::pair<Command, std::vector<std::vector<const char*>>> cases[] = {
        {changeDaysShown, {{"0"}, {"-5"}, {""}, {"abc"}, {"0.4"}, {"61"}}},
        {selectPeriod,
         {{"19990103"},
          {"19990401", "19990323"},
          {"19990104", "19990324"},
          {"19990210", "19990209"},
          {"19990130", "19990131"},
          {"19990210", ""}}},
        {axisStep, {{"0"}, {"-5"}, {"x"}, {"1e60"}}},
        {axisRange, {{"0"}, {"a"}, {"1000", "0"}, {"1000", ""}, {"900", "1000"}}},
        {reduceDrawing, {{"0"}, {""}, {"40", "-1"}}}};
    for (const auto& [command, entryLists] : cases) {
        for (const std::vector<const char*>& entries : entryLists) {
            const Answered r = run(command, entries);
            EXPECT_FALSE(r.result.redraw) << entries[0];
            EXPECT_EQ(changed(r.view), changed(newestView())) << entries[0];
            EXPECT_EQ(r.asked.size(), entries.size()) << entries[0];
        }
    }
    // Two of them say why.
    const std::optional<Message> tooMany = run(changeDaysShown, {"61"}).result.message;
    ASSERT_TRUE(tooMany);
    EXPECT_EQ(tooMany->title, QStringLiteral("Nimbrel"));
    EXPECT_EQ(tooMany->text, QStringLiteral("最大表示日数は60日です"));
    EXPECT_EQ(tooMany->icon, MessageIcon::Information);
    const std::optional<Message> below = run(axisRange, {"900", "1000"}).result.message;
    ASSERT_TRUE(below);
    EXPECT_EQ(below->text, QStringLiteral("最大が最少を下回っています"));
    EXPECT_EQ(below->icon, MessageIcon::Exclamation);

    // A grid of more lines than the plot has rows (prices 4000 to 5000 on 400 rows: a step of
    // 2.5 just fits, 2.4 does not), a step beyond the prices, a log axis below 0, and a range
    // too wide for the user's step are refused, saying what is allowed.
    ViewState logAxis = newestView(), stepOfOne = newestView();
    logAxis.logY = true;
    stepOfOne.userStep = 1;
    const struct {
        Command command;
        std::vector<const char*> entries;
        ViewState view;
        const char* message;
    } refusals[] = {
        {axisStep, {"2.4"}, newestView(), "刻み値は2.5から5000までの値にして下さい"},
        {axisStep, {"0.01"}, newestView(), "刻み値は2.5から5000までの値にして下さい"},
        {axisStep, {"1e30"}, newestView(), "刻み値は2.5から5000までの値にして下さい"},
        {axisRange, {"-100", "-200"}, logAxis, "対数軸では最少値を0より大きくして下さい"},
        {axisRange, {"5000", "4599"}, stepOfOne, "最大と最少の差を400以下にして下さい"},
    };
    for (const auto& r : refusals) {
        const Answered answered = run(r.command, r.entries, r.view);
        EXPECT_FALSE(answered.result.redraw) << r.entries[0];
        EXPECT_EQ(changed(answered.view), changed(r.view)) << r.entries[0];
        ASSERT_TRUE(answered.result.message) << r.entries[0];
        EXPECT_EQ(answered.result.message->text, QString::fromUtf8(r.message));
    }
    EXPECT_TRUE(run(axisStep, {"2.5"}).result.redraw);
    EXPECT_TRUE(run(axisRange, {"5000", "4600"}, stepOfOne).result.redraw);

    // Before any file only the decimals can be changed.
    for (Command command : {changeDaysShown, selectPeriod, axisStep, axisRange, reduceDrawing}) {
        PriceSeries empty;
        ViewState view;
        ScriptedInputs boxes;
        boxes.answers = {QStringLiteral("50"), QStringLiteral("50")};
        EXPECT_FALSE(command(empty, view, boxes).redraw);
        EXPECT_TRUE(boxes.asked.empty());
    }
}

TEST(ZoomTool, TwoClicksChooseTheDaysInEitherOrder) {
    auto days500 = chartSeries(500);
    const struct {
        int first, second, firstDay, endOffset;
    } cases[] = {{300, 250, 250, 200}, {250, 300, 250, 200}, {480, 600, 480, 0}};
    for (const auto& c : cases) {
        ViewState view;
        showNewestDays(*days500, view);
        view.endOffset = 30;
        ZoomTool zoom;
        zoom.arm(view);
        EXPECT_EQ(view.endOffset, 0);
        zoom.startBand(c.first, 100, 200.4);
        zoom.arm(view); // under way: the menu does nothing
        zoom.apply(*days500, view, c.second);
        EXPECT_EQ(zoom.state(), ZoomState::Idle);
        EXPECT_EQ(view.firstDay, c.firstDay);
        EXPECT_EQ(view.endOffset, c.endOffset);
        EXPECT_EQ(view.maxLength, 120); // the zoom leaves the days across a reset alone
    }
}

} // namespace nimbrel

#include "chart/ViewOperations.h"
#include "options/OptionCommands.h"
#include "options/ZoomTool.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"
#include "ScriptedInputs.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<PriceSeries> loaded(int days) {
    auto series = chartSeries(days);
    return series;
}

ViewState newestView(const PriceSeries& series, int maxLength = 120) {
    ViewState view;
    view.maxLength = static_cast<int16_t>(maxLength);
    showNewestDays(series, view);
    return view;
}

QStringList lines(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* text : texts) out << QString::fromUtf8(text);
    return out;
}

} // namespace

TEST(OptionCommands, DecimalsAreZeroToFourAndShowTheCurrentNumber) {
    const struct {
        const char* entry;
        const char* keta; // after the command
    } cases[] = {{"2.7", "0.01"}, {"-1", "1"},  {"9", "0.0001"}, {"0", "1"},
                 {"3", "0.001"},  {"", "0.05"}, {"abc", "0.05"}, {"1,5", "0.05"}};
    for (const auto& c : cases) {
        ViewState view;
        view.keta = *Fixed4::fromText("0.05");
        ScriptedInputs boxes;
        boxes.answers = {QString::fromUtf8(c.entry)};
        const OptionResult result = changeDecimals(view, boxes);
        EXPECT_EQ(view.keta, *Fixed4::fromText(c.keta)) << c.entry;
        EXPECT_EQ(result.redraw, view.keta != *Fixed4::fromText("0.05")) << c.entry;
    }
    ViewState view; // keta 0.01
    ScriptedInputs boxes;
    changeDecimals(view, boxes);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].prompt,
              lines({"小数点以下の桁数は?", "(現在の桁数 = 2)", "(指定可能最大桁数 = 4)"}));
    EXPECT_TRUE(boxes.asked[0].defaultText.isEmpty());
    view.keta = Fixed4::fromWhole(1);
    changeDecimals(view, boxes);
    EXPECT_EQ(boxes.asked[1].prompt[1], QStringLiteral("(現在の桁数 = 0)"));
}

TEST(OptionCommands, DaysShownKeepTheNewestDayAndRefuseMoreThanThereAre) {
    auto series = loaded(500);
    ViewState view = newestView(*series);
    ScriptedInputs boxes;
    boxes.answers = {QStringLiteral("90")};
    EXPECT_TRUE(changeDaysShown(*series, view, boxes).redraw);
    EXPECT_EQ(boxes.asked[0].prompt,
              lines({"表示日数は?", "(現在の日数=120)", "  (最大日数=500)"}));
    EXPECT_EQ(view.maxLength, 90);
    EXPECT_EQ(view.firstDay, 411);

    // With the newest ten days left out, the last drawn day stays at 490.
    view.endOffset = 10;
    boxes.answers = {QStringLiteral("100")};
    changeDaysShown(*series, view, boxes);
    EXPECT_EQ(view.firstDay, 391);
    EXPECT_EQ(lastDayOf(series->dataCount, view), 490);
    EXPECT_EQ(boxes.asked[1].prompt[2], QStringLiteral("  (最大日数=490)"));

    view = newestView(*series);
    boxes.answers = {QStringLiteral("501")};
    const OptionResult refused = changeDaysShown(*series, view, boxes);
    ASSERT_TRUE(refused.message);
    EXPECT_EQ(refused.message->text, QStringLiteral("最大表示日数は500日です"));
    EXPECT_EQ(refused.message->title, QStringLiteral("Nimbrel"));
    EXPECT_EQ(refused.message->icon, MessageIcon::Information);
    EXPECT_EQ(view.maxLength, 120);

    // Halves go to the even count; nothing, 0, negatives and words change nothing.
    for (const auto& [entry, days] : {std::pair{"2.5", 2},
                                      {"3.5", 4},
                                      {"0", 120},
                                      {"-5", 120},
                                      {"", 120},
                                      {"abc", 120},
                                      {"0.4", 120}}) {
        view = newestView(*series);
        boxes.answers = {QString::fromUtf8(entry)};
        changeDaysShown(*series, view, boxes);
        EXPECT_EQ(view.maxLength, days) << entry;
        EXPECT_EQ(view.firstDay, 500 - days + 1) << entry;
    }
}

TEST(OptionCommands, APeriodRunsFromTheFirstTradingDayToTheLastOneInIt) {
    // Twenty dates a month from 19990104: days 1..20 are 19990104..19990123, days 21..40
    // 19990204..19990223 and days 41..60 19990304..19990323.
    auto series = loaded(60);
    ViewState view = newestView(*series);
    ScriptedInputs boxes;
    // 19990103 is before the first day: nothing. A start on a day off starts at the next day.
    boxes.answers = {QStringLiteral("19990103")};
    EXPECT_FALSE(selectPeriod(*series, view, boxes).redraw);
    EXPECT_EQ(boxes.asked[0].prompt, lines({"先頭日付は", "(19990104～)"}));
    EXPECT_EQ(boxes.asked[0].defaultText, QStringLiteral(" 19990104"));

    boxes.answers = {QStringLiteral("19990130"), QStringLiteral("19990224")};
    EXPECT_TRUE(selectPeriod(*series, view, boxes).redraw);
    EXPECT_EQ(boxes.asked[2].prompt, lines({"末尾日付は", "(～19990323)"}));
    EXPECT_EQ(boxes.asked[2].defaultText, QStringLiteral(" 19990323"));
    EXPECT_EQ(view.firstDay, 21);  // 19990204
    EXPECT_EQ(view.endOffset, 20); // 19990224 is no trading day: day 40 (19990223) is last
    EXPECT_EQ(view.maxLength, 20);
    EXPECT_EQ(view.visibleHigh, [&] {
        Fixed4 high;
        for (int d = 21; d <= 40; ++d) high = std::max(high, series->priceTable[d].high);
        return high;
    }());

    // An end on a trading day ends there; the leading number of the text is read.
    boxes.answers = {QStringLiteral("19990104 from"), QStringLiteral("19990323")};
    selectPeriod(*series, view, boxes);
    EXPECT_EQ(view.firstDay, 1);
    EXPECT_EQ(view.endOffset, 0);
    EXPECT_EQ(view.maxLength, 60);

    // Refused: an end after the last day, an end before the start, a period with no trading
    // day in it, and Cancel.
    const ViewState before = view;
    for (const auto& [start, end] : {std::pair{"19990104", "19990324"},
                                     {"19990210", "19990209"},
                                     {"19990401", "19990323"}, // a start after every day
                                     {"19990130", "19990131"},
                                     {"19990210", ""}}) {
        boxes.answers = {QString::fromUtf8(start), QString::fromUtf8(end)};
        EXPECT_FALSE(selectPeriod(*series, view, boxes).redraw) << start << end;
        EXPECT_EQ(view.firstDay, before.firstDay);
        EXPECT_EQ(view.endOffset, before.endOffset);
        EXPECT_EQ(view.maxLength, before.maxLength);
    }
}

TEST(OptionCommands, StepRangeAndReductionTakeOnlyUsableNumbers) {
    auto series = loaded(200);
    ViewState view = newestView(*series);
    ScriptedInputs boxes;
    for (const char* refused : {"0", "-5", "", "x", "1e60"}) {
        boxes.answers = {QString::fromUtf8(refused)};
        EXPECT_FALSE(changeAxisStep(*series, view, boxes).redraw) << refused;
        EXPECT_EQ(view.userStep, 0);
    }
    view.visibleHigh = Fixed4::fromWhole(9999); // a user range: the step command scans again
    boxes.answers = {QStringLiteral("25")};
    EXPECT_TRUE(changeAxisStep(*series, view, boxes).redraw);
    EXPECT_EQ(boxes.asked.back().prompt, lines({"Y軸の刻み値は"}));
    EXPECT_EQ(view.userStep, 25.0f);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(5000));

    boxes.answers = {QStringLiteral("1000"), QStringLiteral("900")};
    EXPECT_TRUE(changeAxisRange(*series, view, boxes).redraw);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(1000));
    EXPECT_EQ(view.visibleLow, Fixed4::fromWhole(900));
    boxes.answers = {QStringLiteral("1200.5"), QStringLiteral("1200.5")}; // a flat range
    EXPECT_TRUE(changeAxisRange(*series, view, boxes).redraw);
    EXPECT_EQ(view.visibleLow, *Fixed4::fromText("1200.5"));
    boxes.answers = {QStringLiteral("900"), QStringLiteral("1000")};
    const OptionResult below = changeAxisRange(*series, view, boxes);
    ASSERT_TRUE(below.message);
    EXPECT_EQ(below.message->text, QStringLiteral("最大が最少を下回っています"));
    EXPECT_EQ(below.message->icon, MessageIcon::Exclamation);
    EXPECT_EQ(view.visibleHigh, *Fixed4::fromText("1200.5"));
    for (const auto& [high, low] : {std::pair{"0", "5"}, {"1000", "0"}, {"1000", ""}, {"a", "1"}}) {
        boxes.answers = {QString::fromUtf8(high), QString::fromUtf8(low)};
        EXPECT_FALSE(changeAxisRange(*series, view, boxes).redraw) << high << low;
    }
    const size_t asked = boxes.asked.size();
    boxes.answers = {QStringLiteral("0")};
    changeAxisRange(*series, view, boxes);
    EXPECT_EQ(boxes.asked.size(), asked + 1); // 0 as the maximum ends before the minimum

    boxes.answers = {QStringLiteral("50"), QStringLiteral("150")};
    EXPECT_TRUE(reduceDrawing(*series, view, boxes).redraw);
    EXPECT_EQ(view.reduceY, 0.5f);
    EXPECT_EQ(view.reduceX, 1.0f);
    EXPECT_EQ(boxes.asked.back().prompt, lines({"画面(横)の縮小率は", "(最大=100)"}));
    EXPECT_EQ(boxes.asked.back().defaultText, QStringLiteral("100"));
    for (const auto& [vertical, horizontal] : {std::pair{"0", "50"}, {"50", "-1"}, {"", "50"}}) {
        boxes.answers = {QString::fromUtf8(vertical), QString::fromUtf8(horizontal)};
        EXPECT_FALSE(reduceDrawing(*series, view, boxes).redraw);
        EXPECT_EQ(view.reduceY, 0.5f);
        EXPECT_EQ(view.reduceX, 1.0f);
    }
}

TEST(OptionCommands, BeforeAnyFileOnlyTheDecimalsCanBeChanged) {
    PriceSeries empty;
    ViewState view;
    ScriptedInputs boxes;
    boxes.answers = {QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("50"),
                     QStringLiteral("50")};
    EXPECT_FALSE(changeDaysShown(empty, view, boxes).redraw);
    EXPECT_FALSE(selectPeriod(empty, view, boxes).redraw);
    EXPECT_FALSE(changeAxisStep(empty, view, boxes).redraw);
    EXPECT_FALSE(changeAxisRange(empty, view, boxes).redraw);
    EXPECT_FALSE(reduceDrawing(empty, view, boxes).redraw);
    EXPECT_TRUE(boxes.asked.empty());
    boxes.answers = {QStringLiteral("1")};
    EXPECT_TRUE(changeDecimals(view, boxes).redraw);
    EXPECT_EQ(view.keta, *Fixed4::fromText("0.1"));
}

TEST(ZoomTool, TwoClicksChooseTheDaysInEitherOrder) {
    auto series = loaded(500);
    const struct {
        int first, second, firstDay, endOffset;
    } cases[] = {{300, 250, 250, 200}, {250, 300, 250, 200}, {480, 600, 480, 0}};
    for (const auto& c : cases) {
        ViewState view = newestView(*series);
        view.endOffset = 30;
        ZoomTool zoom;
        zoom.arm(view);
        EXPECT_EQ(view.endOffset, 0);
        EXPECT_EQ(zoom.state(), ZoomState::Armed);
        zoom.startBand(c.first, 100, 200.4);
        EXPECT_EQ(zoom.state(), ZoomState::Band);
        zoom.apply(*series, view, c.second);
        EXPECT_EQ(zoom.state(), ZoomState::Idle);
        EXPECT_EQ(view.firstDay, c.firstDay);
        EXPECT_EQ(view.endOffset, c.endOffset);
        EXPECT_EQ(view.maxLength, 120); // the zoom leaves the days across a reset alone
    }
}

TEST(ZoomTool, TheBandIsAnInvertedDottedFrameDrawnAgainToErase) {
    ViewState view;
    ZoomTool zoom;
    zoom.arm(view);
    view.endOffset = 7;
    zoom.arm(view); // under way: the menu does nothing
    EXPECT_EQ(view.endOffset, 7);
    zoom.startBand(10, 1000.25, 2000.6);
    RecordingSurface surface(19200, 12000);
    zoom.followPointer(surface, 3000, 4000.4);
    zoom.followPointer(surface, 2500, 3500);
    zoom.cancel(surface);
    EXPECT_EQ(zoom.state(), ZoomState::Idle);
    // Nothing at the first click; then each move erases the band it drew before.
    const std::string first = "frame 1000.25 2001.00 3000.00 4000.00 255 255 255";
    const std::string second = "frame 1000.25 2001.00 2500.00 3500.00 255 255 255";
    const std::vector<std::string> expected = {"mode invert", "style 2", first,  "mode copy",
                                               "mode invert", "style 2", first,  "mode copy",
                                               "mode invert", "style 2", second, "mode copy",
                                               "mode invert", "style 2", second, "mode copy"};
    EXPECT_EQ(surface.calls(), expected);
}

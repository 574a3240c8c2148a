#include "tools/MeasuringTool.h"
#include "tools/MouseDispatch.h"
#include "tools/Readout.h"
#include "tools/ToolTexts.h"

#include "ChartSeries.h"

#include <gtest/gtest.h>

namespace {

ChartLayout layoutAt(double left, float dayWidth, int firstDay) {
    ChartLayout layout;
    layout.days = {left, dayWidth, firstDay};
    return layout;
}

Fixed4 price(const char* text) {
    return *Fixed4::fromText(text);
}

// Days numbered so that every value tells where it came from: day d closes at 1000 + d, and
// the lines of row r are 10 r (conversion), 20 r (base), 30 r (span 1) and 40 r (span 2).
std::unique_ptr<PriceSeries> numberedSeries(int days) {
    auto series = std::make_unique<PriceSeries>();
    for (int d = 1; d <= days; ++d) {
        series->priceTable[d] = {Fixed4::fromWhole(20000000 + d), Fixed4::fromWhole(2000 + d),
                                 Fixed4::fromWhole(3000 + d), Fixed4::fromWhole(500 + d),
                                 Fixed4::fromWhole(1000 + d)};
        series->ichimokuTable[d] = {Fixed4::fromWhole(10 * d), Fixed4::fromWhole(20 * d),
                                    Fixed4::fromWhole(30 * d), Fixed4::fromWhole(40 * d)};
    }
    series->dataCount = days;
    series->priceFieldCount = 4;
    return series;
}

} // namespace

TEST(MouseTools, ThePointerSelectsTheNearestSlotNeverBeforeDayOne) {
    const ChartLayout layout = layoutAt(900, 60, 100);
    const struct {
        double x;
        int day;
    } cases[] = {
        {900 + 3 * 60 + 29, 102},  // just short of half way: the earlier day
        {900 + 3 * 60 + 30, 103},  // half way: the later day
        {960, 100},                // the first drawn day's own slot
        {960 - 5 * 60, 95},        // five slots left of it
        {960 - 200 * 60, 1},       // far left: day 1
        {960 + 20000 * 60, 20100}, // far right: past the data and the table
    };
    for (const auto& c : cases) EXPECT_EQ(dayAt(layout, c.x), c.day) << c.x;
    EXPECT_EQ(dayAt(layoutAt(900, 60, 1), 0), 1);
    EXPECT_EQ(dayAt(ChartLayout{}, 500), 1); // before any chart was drawn
}

TEST(MouseTools, PricesAreRoundedToKetaHalvesUpward) {
    const Fixed4 cent = price("0.01"), one = price("1"), tiny = price("0.0001");
    const struct {
        const char* value;
        Fixed4 keta;
        const char* text;
    } cases[] = {
        {"1234.5678", cent, "1234.57"},  {"1234.5", cent, "1234.5"},
        {"1200", cent, "1200"},          {"-2.345", cent, "-2.34"},
        {"1234.5678", one, "1235"},      {"1234.5", one, "1235"},
        {"1234.5", tiny, "1234.5"},      {"0.25", price("0.1"), "0.3"},
        {"-0.25", price("0.1"), "-0.2"}, {"0", cent, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(priceText(price(c.value), c.keta).toStdString(), c.text) << c.value;
    EXPECT_EQ(priceText(10.004999, cent).toStdString(), "10");
    EXPECT_EQ(dateText(Fixed4::fromWhole(19971109)).toStdString(), "19971109");
}

TEST(MouseTools, TheReadoutShowsTheDayTheSpansAndBothLaggingCloses) {
    auto series = numberedSeries(60);
    const Fixed4 cent = price("0.01");
    ReadoutFields day40 = readoutFields(*series, 40, cent);
    EXPECT_EQ(day40.caption, "20000040");
    EXPECT_EQ(day40.open, "2040");
    EXPECT_EQ(day40.high, "3040");
    EXPECT_EQ(day40.low, "540");
    EXPECT_EQ(day40.close, "1040");
    EXPECT_EQ(day40.conversion, "400");
    EXPECT_EQ(day40.base, "800");
    EXPECT_EQ(day40.span1, "450"); // row 15, drawn at day 40's slot
    EXPECT_EQ(day40.span2, "600");
    EXPECT_EQ(day40.laggingFront, "1015");
    EXPECT_EQ(day40.laggingBack, "0"); // day 65 is not loaded

    const ReadoutFields day25 = readoutFields(*series, 25, cent);
    EXPECT_EQ(day25.close, "1025");
    for (const QString& empty : {day25.span1, day25.span2, day25.laggingFront, day25.laggingBack})
        EXPECT_TRUE(empty.isEmpty());
    const ReadoutFields day26 = readoutFields(*series, 26, cent);
    EXPECT_EQ(day26.span1, "30");
    EXPECT_EQ(day26.laggingFront, "1001");
    EXPECT_EQ(day26.laggingBack, "1051");

    // Past the table: a day of zeros, nothing read beyond row 15000.
    auto full = numberedSeries(kMaxDays);
    const ReadoutFields beyond = readoutFields(*full, kMaxDays + 10, cent);
    EXPECT_EQ(beyond.caption, "0");
    EXPECT_EQ(beyond.close, "0");
    EXPECT_EQ(beyond.laggingFront, "15985"); // day 14985 is still in the table
    EXPECT_EQ(readoutFields(*full, kMaxDays - 10, cent).laggingBack, "0");
    EXPECT_EQ(readoutFields(*full, 40000, cent).laggingFront, "0");
}

TEST(MouseTools, MeasuringCountsTradingDaysBothEndsIncluded) {
    auto series = numberedSeries(200);
    series->priceTable[100].close = Fixed4::fromWhole(1000);
    series->priceTable[110].close = Fixed4::fromWhole(1100);
    series->priceTable[120].close = price("1234.5678");
    const Fixed4 cent = price("0.01");
    MeasuringTool tool;
    tool.arm();
    EXPECT_EQ(tool.state(), MeasureState::Armed);
    tool.pointerMoved(*series, 100, cent);
    EXPECT_EQ(tool.fields().from.text, "20000100");
    EXPECT_TRUE(tool.fields().to.text.isEmpty());
    EXPECT_FALSE(tool.clicked(100));
    EXPECT_EQ(tool.state(), MeasureState::FirstPointFixed);
    EXPECT_EQ(tool.fields().from.shade, FieldShade::White);
    EXPECT_EQ(tool.fields().dayCount.shade, FieldShade::ButtonFace);

    const struct {
        int day;
        Fixed4 keta;
        const char *count, *range, *percent;
    } moves[] = {
        {100, cent, "1", "0", "0"},           {104, cent, "5", "104", "10.4"},
        {96, cent, "-5", "96", "9.6"},        {110, cent, "11", "100", "10"},
        {120, price("1"), "21", "235", "23"}, {201, cent, "102", "", ""}, // right of the newest day
    };
    for (const auto& m : moves) {
        tool.pointerMoved(*series, m.day, m.keta);
        EXPECT_EQ(tool.fields().from.text, "20000100");
        EXPECT_EQ(tool.fields().dayCount.text.toStdString(), m.count) << m.day;
        EXPECT_EQ(tool.fields().priceRange.text.toStdString(), m.range) << m.day;
        EXPECT_EQ(tool.fields().percent.text.toStdString(), m.percent) << m.day;
    }
    EXPECT_EQ(tool.fields().to.text, "0"); // day 201 holds no date

    // Armed again while measuring: the fields empty, a new first point awaited.
    tool.arm();
    EXPECT_EQ(tool.state(), MeasureState::Armed);
    EXPECT_EQ(tool.firstPoint(), 0);
    EXPECT_TRUE(tool.fields().priceRange.text.isEmpty());
    EXPECT_EQ(tool.fields().dayCount.shade, FieldShade::White);

    // A first close of 0: no percentage. The closing click ends measuring.
    series->priceTable[50].close = Fixed4();
    tool.clicked(50);
    tool.pointerMoved(*series, 60, cent);
    EXPECT_EQ(tool.fields().priceRange.text, "1060");
    EXPECT_TRUE(tool.fields().percent.text.isEmpty());
    EXPECT_TRUE(tool.clicked(60));
    EXPECT_EQ(tool.state(), MeasureState::Off);
    EXPECT_EQ(tool.fields().from.shade, FieldShade::ButtonFace);

    tool.arm();
    tool.windowClosed();
    EXPECT_EQ(tool.state(), MeasureState::Off);
    tool.windowCreated();
    EXPECT_EQ(tool.fields(), MeasuringFields::initial());
    EXPECT_EQ(tool.fields().dayCount.text, "-12345");
}

TEST(MouseTools, EventsGoToTheZoomThenMeasuringThenReadoutThenMenus) {
    using P = PressAction;
    using Z = ZoomState;
    using M = MeasureState;
    const auto L = MouseButton::Left, R = MouseButton::Right, C = MouseButton::Middle;
    const struct {
        int dataCount;
        ZoomState zoom;
        MeasureState measuring;
        MouseButton button;
        bool ctrl;
        PressAction action;
    } presses[] = {
        {0, Z::Band, M::Armed, R, false, P::FileMenu},
        {0, Z::Idle, M::Off, L, false, P::None},
        {10, Z::Armed, M::FirstPointFixed, L, false, P::FirstZoomPoint},
        {10, Z::Band, M::Armed, L, false, P::SecondZoomPoint},
        {10, Z::Idle, M::FirstPointFixed, L, false, P::EndMeasuring},
        {10, Z::Idle, M::Armed, L, false, P::FirstMeasuringPoint},
        {10, Z::Idle, M::Off, L, false, P::ShowReadout},
        {10, Z::Band, M::Off, R, true, P::FileMenuClosingTools},
        {10, Z::Band, M::Off, R, false, P::CancelZoom},
        {10, Z::Armed, M::Off, R, false, P::OptionsMenu},
        {10, Z::Idle, M::Armed, R, false, P::OptionsMenu},
        {10, Z::Idle, M::Off, C, false, P::None},
    };
    for (const auto& p : presses) {
        const ToolStates states{p.dataCount, p.zoom, p.measuring, false};
        EXPECT_EQ(pressAction(states, p.button, p.ctrl), p.action)
            << p.dataCount << int(p.zoom) << int(p.measuring) << int(p.button) << p.ctrl;
    }
    EXPECT_EQ(moveAction({10, Z::Band, M::Armed, true}), MoveAction::FollowZoomBand);
    EXPECT_EQ(moveAction({10, Z::Armed, M::Armed, true}), MoveAction::UpdateReadout);
    EXPECT_EQ(moveAction({10, Z::Idle, M::FirstPointFixed, false}), MoveAction::UpdateMeasuring);
    EXPECT_EQ(moveAction({10, Z::Idle, M::Off, false}), MoveAction::None);
}

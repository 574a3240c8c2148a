#include "tools/MeasuringTool.h"
#include "tools/MouseDispatch.h"
#include "tools/Readout.h"
#include "tools/ToolTexts.h"

#include "LoaderTestSupport.h"
#include "Printers.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

// Days numbered so that every value tells where it came from: day d opens at 2000 + d, is
// high at 3000 + d, low at 500 + d and closes at 1000 + d, and the lines of row r are 10 r
// (conversion), 20 r (base), 30 r (span 1) and 40 r (span 2).
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

// The read-out's caption and fields in the window's order.
QStringList texts(const ReadoutFields& f) {
    return {f.caption, f.open,  f.high,  f.low,          f.close,      f.conversion,
            f.base,    f.span1, f.span2, f.laggingFront, f.laggingBack};
}

} // namespace

TEST(MouseTools, PricesAreRoundedToKetaHalvesUpward) {
    const struct {
        const char *value, *decimalsUnit, *text;
    } cases[] = {{"1234.5678", "0.01", "1234.57"}, {"1234.5", "0.01", "1234.5"},
                 {"1200", "0.01", "1200"},         {"-2.345", "0.01", "-2.34"},
                 {"1234.5", "1", "1235"},          {"0.25", "0.1", "0.3"},
                 {"-0.25", "0.1", "-0.2"},         {"-0.006", "0.01", "-0.01"}};
    for (const auto& c : cases)
        EXPECT_EQ(priceText(price(c.value), price(c.decimalsUnit)).toStdString(), c.text)
            << c.value;
    EXPECT_EQ(priceText(10.004999, price("0.01")).toStdString(), "10");
}

TEST(MouseTools, TheReadoutShowsTheDayTheSpansDrawnThereAndBothLaggingCloses) {
    const auto series = numberedSeries(60), full = numberedSeries(kMaxDays);
    // Day 40 shows the spans of row 15, drawn at its slot, and day 65 is not loaded. Up to day
    // 25 nothing is drawn from 25 days before, and the later close is left out with it. Past
    // the table (days above 60 are read from a full one): a day of zeros, nothing read beyond
    // row 15000.
    const std::pair<int, QStringList> cases[] = {
        {40, {"20000040", "2040", "3040", "540", "1040", "400", "800", "450", "600", "1015", "0"}},
        {25, {"20000025", "2025", "3025", "525", "1025", "250", "500", "", "", "", ""}},
        {26, {"20000026", "2026", "3026", "526", "1026", "260", "520", "30", "40", "1001", "1051"}},
        {kMaxDays + 10, {"0", "0", "0", "0", "0", "0", "0", "449550", "599400", "15985", "0"}},
        {40000, {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}}};
    for (const auto& [day, fields] : cases)
        EXPECT_EQ(texts(readoutFields(day > 60 ? *full : *series, day, price("0.01"))), fields)
            << day;
}

TEST(MouseTools, MeasuringCountsTradingDaysBothEndsIncluded) {
    auto series = numberedSeries(200);
    series->priceTable[100].close = Fixed4::fromWhole(1000);
    series->priceTable[110].close = Fixed4::fromWhole(1100);
    series->priceTable[120].close = price("1234.5678");
    MeasuringTool tool;
    tool.arm();
    tool.pointerMoved(*series, 100, price("0.01"));
    EXPECT_EQ(tool.fields().from.text, "20000100");
    EXPECT_FALSE(tool.clicked(100));
    EXPECT_EQ(tool.state(), MeasureState::FirstPointFixed);
    EXPECT_EQ(tool.fields().dayCount.shade, FieldShade::ButtonFace); // it follows the pointer

    const struct {
        int day;
        const char *decimalsUnit, *count, *range, *percent;
    } moves[] = {
        {100, "0.01", "1", "0", "0"},    {104, "0.01", "5", "104", "10.4"},
        {96, "0.01", "-5", "96", "9.6"}, {110, "0.01", "11", "100", "10"},
        {120, "1", "21", "235", "23"},   {201, "0.01", "102", "", ""}, // right of the newest day
    };
    for (const auto& m : moves) {
        tool.pointerMoved(*series, m.day, price(m.decimalsUnit));
        EXPECT_EQ(tool.fields().from.text, "20000100");
        EXPECT_EQ(tool.fields().dayCount.text.toStdString(), m.count) << m.day;
        EXPECT_EQ(tool.fields().priceRange.text.toStdString(), m.range) << m.day;
        EXPECT_EQ(tool.fields().percent.text.toStdString(), m.percent) << m.day;
    }
    EXPECT_EQ(tool.fields().to.text, "0"); // day 201 holds no date

    // Armed again while measuring: the fields empty, a new first point awaited. A first close
    // of 0 has no percentage. The closing click ends measuring.
    tool.arm();
    EXPECT_TRUE(tool.fields().priceRange.text.isEmpty());
    series->priceTable[50].close = Fixed4();
    tool.clicked(50);
    tool.pointerMoved(*series, 60, price("0.01"));
    EXPECT_EQ(tool.fields().priceRange.text, "1060");
    EXPECT_TRUE(tool.fields().percent.text.isEmpty());
    EXPECT_TRUE(tool.clicked(60));
    EXPECT_EQ(tool.state(), MeasureState::Off);
}

TEST(MouseTools, EventsGoToTheZoomThenMeasuringThenReadoutThenMenus) {
    using P = PressAction;
    using Z = ZoomState;
    using M = MeasureState;
    const auto L = MouseButton::Left, R = MouseButton::Right;
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
        {10, Z::Idle, M::Off, MouseButton::Middle, false, P::None},
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

} // namespace nimbrel

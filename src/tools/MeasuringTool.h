#pragma once

#include "data/PriceSeries.h"

#include <QString>

#include <cstdint>

namespace nimbrel {

// 日柄測定: a first day picked on the chart, then the trading days, price range and percentage
// from it to the day under the pointer, until a second click.
enum class MeasureState : int16_t { Off = 0, Armed = 1, FirstPointFixed = 2 };

// A field's background: button face marks the fields that follow the pointer, white the fixed
// or empty ones; the day count starts light grey.
enum class FieldShade { White, ButtonFace, LightGrey };

struct MeasureField {
    QString text;
    FieldShade shade = FieldShade::White;
    friend bool operator==(const MeasureField&, const MeasureField&) = default;
};

// What the measuring window shows.
struct MeasuringFields {
    MeasureField from, to, dayCount, priceRange, percent;
    // What a new measuring window shows.
    static MeasuringFields initial();
    friend bool operator==(const MeasuringFields&, const MeasuringFields&) = default;
};

class MeasuringTool {
public:
    MeasureState state() const { return state_; }
    int firstPoint() const { return firstPoint_; } // 0 until the first click
    const MeasuringFields& fields() const { return fields_; }

    // A new window: its fields start from their initial texts, which no measurement gave: a
    // window made to be armed shows none of them.
    void windowCreated() { fields_ = MeasuringFields::initial(); }
    // The menu command, also while measuring: waits for a first click afresh. The fields that
    // the measurement fills are emptied; so is the first date when the window is new.
    void arm();
    void pointerMoved(const PriceSeries& series, int day, Fixed4 decimalsUnit);
    // A left click on the chart while measuring; true when it ends the measurement.
    bool clicked(int day);
    // The window is gone: measuring ends.
    void windowClosed();

private:
    MeasureState state_ = MeasureState::Off;
    int firstPoint_ = 0;
    MeasuringFields fields_ = MeasuringFields::initial();
};

} // namespace nimbrel

#include "tools/MeasuringTool.h"

#include "tools/ToolTexts.h"

namespace nimbrel {

namespace {

Fixed4 dateOf(const PriceSeries& series, int day) {
    return day >= 1 && day <= kMaxDays ? series.priceTable[static_cast<size_t>(day)].date
                                       : Fixed4();
}

// Counted inclusively and signed: the same day is 1, the next trading day 2, the one before -2.
int inclusiveDayCount(int from, int to) {
    const int difference = to - from;
    return difference >= 0 ? difference + 1 : difference - 1;
}

} // namespace

MeasuringFields MeasuringFields::initial() {
    const QString wide = QStringLiteral("-1234567890");
    return {{QStringLiteral("19971109"), FieldShade::ButtonFace},
            {QStringLiteral("19971109"), FieldShade::White},
            {QStringLiteral("-12345"), FieldShade::LightGrey},
            {wide, FieldShade::White},
            {wide, FieldShade::White}};
}

void MeasuringTool::arm() {
    state_ = MeasureState::Armed;
    firstPoint_ = 0;
    for (MeasureField* field :
         {&fields_.to, &fields_.dayCount, &fields_.priceRange, &fields_.percent})
        *field = {QString(), FieldShade::White};
}

void MeasuringTool::pointerMoved(const PriceSeries& series, int day, Fixed4 decimalsUnit) {
    if (state_ == MeasureState::Armed) {
        fields_.from.text = dateText(dateOf(series, day));
        fields_.to.text.clear();
        fields_.dayCount.text.clear();
        return;
    }
    if (state_ != MeasureState::FirstPointFixed) return;
    const int from = firstPoint_;
    fields_.from.text = dateText(dateOf(series, from));
    fields_.to.text = dateText(dateOf(series, day));
    fields_.priceRange.text.clear();
    fields_.percent.text.clear();
    const auto loaded = [&](int d) { return d >= 1 && d <= series.dataCount; };
    if (loaded(from) && loaded(day)) {
        const Fixed4 first = series.priceTable[static_cast<size_t>(from)].close;
        const Fixed4 now = series.priceTable[static_cast<size_t>(day)].close;
        fields_.priceRange.text = priceText(now - first, decimalsUnit);
        // A first close of 0 has no percentage to show.
        if (first != Fixed4())
            fields_.percent.text =
                priceText((now.toDouble() / first.toDouble() - 1) * 100, decimalsUnit);
    }
    fields_.dayCount.text = QString::number(inclusiveDayCount(from, day));
}

bool MeasuringTool::clicked(int day) {
    if (state_ == MeasureState::Armed) {
        firstPoint_ = day;
        state_ = MeasureState::FirstPointFixed;
        fields_.from.shade = FieldShade::White;
        for (MeasureField* field :
             {&fields_.to, &fields_.dayCount, &fields_.priceRange, &fields_.percent})
            field->shade = FieldShade::ButtonFace;
        return false;
    }
    if (state_ != MeasureState::FirstPointFixed) return false;
    state_ = MeasureState::Off;
    fields_.from.shade = FieldShade::ButtonFace;
    return true;
}

void MeasuringTool::windowClosed() {
    state_ = MeasureState::Off;
    fields_.from.shade = FieldShade::ButtonFace;
}

} // namespace nimbrel

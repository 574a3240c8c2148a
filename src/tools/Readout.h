#pragma once

#include "data/PriceSeries.h"

#include <QString>

namespace nimbrel {

// What the read-out window shows for one day: the date in its caption, the four prices, the
// conversion and base lines of the day, the spans drawn at its slot (computed kLeadSlots days
// before) and the two closes the lagging lines draw there.
struct ReadoutFields {
    QString caption;
    QString open, high, low, close;
    QString conversion, base, span1, span2;
    QString laggingFront, laggingBack; // the close kLeadSlots days before and after

    // What a new read-out window shows until its first day.
    static ReadoutFields initial();
    friend bool operator==(const ReadoutFields&, const ReadoutFields&) = default;
};

// The fields of day `day` (1 or more), prices rounded to decimalsUnit. Days past the table read as
// a day of zeros, as the days past the loaded ones do.
ReadoutFields readoutFields(const PriceSeries& series, int day, Fixed4 decimalsUnit);

} // namespace nimbrel

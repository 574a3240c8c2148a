#pragma once

#include "data/PriceSeries.h"

#include <QString>

#include <optional>
#include <vector>

namespace nimbrel {

// Time theory counts bars with both ends included: the pivot is bar 1, so the mark "9 bars
// on" stands 8 bars after it.

// The basic numbers, the default list the user may edit.
inline const std::vector<int> kBasicNumbers{9,  17, 26,  33,  42,  51,  65, 76,
                                            83, 97, 101, 129, 172, 226, 257};

struct TimeMark {
    int bar;    // may lie past the newest bar: a slot in the future
    int number; // the count drawn as the mark's label
};

// A mark for each number N of the list, N bars on from the pivot, in the list's order;
// numbers below 1 count nothing and are skipped.
[[nodiscard]] std::vector<TimeMark> basicNumberMarks(int pivotBar, const std::vector<int>& numbers);

// The count n from the earlier bar to the later one, carried forward twice from the later one:
// the same span repeating. Both marks are labelled n. One bar alone spans nothing: no marks.
[[nodiscard]] std::vector<TimeMark> equalCountMarks(int firstBar, int secondBar);

// Where a mark stands, as the user reads it: the date of its bar as YYYYMMDD, or "+k" for the
// k-th slot after the newest bar. Empty for a bar before the first.
[[nodiscard]] QString markPlace(const PriceSeries& bars, int bar);

// The user's list of numbers as text, "9,17,26": whole numbers 1..999 apart by commas, blanks
// allowed around each. Anything else, an empty text too, is nullopt.
[[nodiscard]] std::optional<std::vector<int>> parseNumberList(const QString& text);
[[nodiscard]] QString numberListText(const std::vector<int>& numbers);

} // namespace nimbrel

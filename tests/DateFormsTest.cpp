#include "data/DateForms.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace nimbrel {

TEST(DateForms, DateTextsOfEachKind) {
    // Six digits: 00-29 are 2000-2029, 30-99 are 1930-1999; 0971109 is one written short.
    // clang-format off
    expectEach<const char*>({
        {"971109", "19971109"}, {"080105", "20080105"}, {"291231", "20291231"},
        {"300101", "19300101"}, {"000104", "20000104"}, {"1050110", "1050110"},
        {"19991231", "19991231"}, {"0971109", "19971109"}, {"abc", "0"},
        {"19991231x", "19991231"}, {"1e300", "-"}},
        [](const char* text) { return shown(textLineDate(text)); });
    // Worksheet dates when the first one has six digits or eight without "/".
    expectEach<const char*>({
        {"080105", "20080105"}, {"19971110", "19971110"}, {"abc", "-"}, {"1997/11/10", "-"}},
        [](const char* text) { return shown(compactDate(text)); });
    expectEach<const char*>({
        {"97/11/09", "19971109"}, {"01/05/10", "20010510"}, {"1997/11/09", "19971109"},
        {"2001-5-10", "20010510"}, {"2001.05.10", "20010510"}, {"2001年5月10日 ", "20010510"},
        {" 2000/02/29 ", "20000229"}, {"1900/02/29", "-"}, {"1997/13/01", "-"},
        {"1997/11/31", "-"}, {"971109", "-"}, {"1997/11", "-"}, {"1997/11/09/1", "-"},
        {"1997-11/09", "-"}, {"abc", "-"}, {"", "-"}, {"197/11/09", "-"}, {"1997/011/09", "-"}},
        [](const char* text) { return shown(calendarDateText(text)); });
    // clang-format on
}

TEST(DateForms, SerialDaysAreTheDatesASpreadsheetShows) {
    // Worked out from the calendar: 1900-01-01 is day 1, and day 60 is the 1900-02-29 that
    // spreadsheets count, so 1900-03-01 is day 61 and 2008-03-03 is day 39510. In the 1904
    // system day 0 is 1904-01-01, 1462 days after 1900-01-01's 1900-system day 1 plus the
    // false leap day.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    expectEach<double>({
        {1.0, "19000101"}, {59.0, "19000228"}, {60.0, "-"}, {61.0, "19000301"},
        {39510.0, "20080303"}, {39510.75, "20080303"}, {2958465.0, "99991231"},
        {2958466.0, "-"}, {0.0, "-"}, {-1.0, "-"}, {nan, "-"}},
        [](double day) { return shown(serialDate(day, DateSystem::From1900)); });
    expectEach<double>({
        {0.0, "19040101"}, {38048.0, "20080303"}, {2957003.0, "99991231"}, {2957004.0, "-"},
        {-0.5, "-"}, {inf, "-"}},
        [](double day) { return shown(serialDate(day, DateSystem::From1904)); });
    // clang-format on
}

} // namespace nimbrel

#include "data/DateForms.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace nimbrel {

TEST(DateForms, ADateIsARealCalendarDayOrNone) {
    // Text day lines: eight digits, six with the two-digit year's century (00-29 are 2000-2029,
    // 30-99 are 1930-1999), or a calendar date with separators; nothing else.
    // clang-format off
    expectEach<const char*>({
        {"971109", "19971109"}, {"080105", "20080105"}, {"291231", "20291231"},
        {"300101", "19300101"}, {"000104", "20000104"}, {"19991231", "19991231"},
        {"18680101", "18680101"}, {"2023/01/04", "20230104"}, {"23-01-04", "20230104"},
        {"20000229", "20000229"}, {"19000229", "-"}, {"20230230", "-"}, {"000000", "-"},
        {"19971110.5", "-"}, {"1050110", "-"}, {"0971109", "-"}, {"2023O106", "-"},
        {"19991231x", "-"}, {"abc", "-"}, {"", "-"}, {"1e300", "-"}, {"00000101", "-"}},
        [](const char* text) { return shown(textLineDate(text)); });
    // Worksheet dates in compact mode: texts of digits, and numbers that lost their leading
    // zeros in the spreadsheet (104 was 000104, 80107 was 080107).
    expectEach<const char*>({
        {"080105", "20080105"}, {" 19971110 ", "19971110"}, {"abc", "-"}, {"1997/11/10", "-"},
        {"20230230", "-"}},
        [](const char* text) { return shown(compactDate(text)); });
    expectEach<double>({
        {104, "20000104"}, {80107, "20080107"}, {971109, "19971109"}, {19971109, "19971109"},
        {0, "-"}, {1050110, "-"}, {20230230, "-"}, {971109.5, "-"}, {-971109, "-"}},
        [](double number) { return shown(compactNumberDate(number)); });
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

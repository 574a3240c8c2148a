#include "data/DateForms.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

int64_t whole(std::optional<Fixed4> date) {
    EXPECT_TRUE(date.has_value());
    return date ? date->units() / Fixed4::kUnitsPerWhole : -1;
}

} // namespace

TEST(DateForms, TextLineDatesUseTheTwoDigitYearWindowOnSixDigits) {
    EXPECT_EQ(whole(textLineDate("971109")), 19971109);
    EXPECT_EQ(whole(textLineDate("080105")), 20080105);
    EXPECT_EQ(whole(textLineDate("260105")), 20260105);
    EXPECT_EQ(whole(textLineDate("291231")), 20291231);
    EXPECT_EQ(whole(textLineDate("300101")), 19300101);
    EXPECT_EQ(whole(textLineDate("000104")), 20000104);
    EXPECT_EQ(whole(textLineDate("1050110")), 1050110);
    EXPECT_EQ(whole(textLineDate("19991231")), 19991231);
    EXPECT_EQ(whole(textLineDate("0971109")), 19971109); // six characters once written short
    EXPECT_EQ(whole(textLineDate("abc")), 0);
    EXPECT_EQ(whole(textLineDate("19991231x")), 19991231);
    EXPECT_FALSE(textLineDate("1e300").has_value());
}

TEST(DateForms, CompactWorksheetDates) {
    EXPECT_EQ(whole(compactDate("971109")), 19971109);
    EXPECT_EQ(whole(compactDate("080105")), 20080105);
    EXPECT_EQ(whole(compactDate("19971110")), 19971110);
    EXPECT_FALSE(compactDate("abc").has_value());
    EXPECT_FALSE(compactDate("1997/11/10").has_value());
}

TEST(DateForms, CalendarDateTexts) {
    EXPECT_EQ(whole(calendarDateText("97/11/09")), 19971109);
    EXPECT_EQ(whole(calendarDateText("01/05/10")), 20010510);
    EXPECT_EQ(whole(calendarDateText("1997/11/09")), 19971109);
    EXPECT_EQ(whole(calendarDateText("2001-5-10")), 20010510);
    EXPECT_EQ(whole(calendarDateText("2001.05.10")), 20010510);
    EXPECT_EQ(whole(calendarDateText("2001年5月10日 ")), 20010510);
    EXPECT_EQ(whole(calendarDateText(" 2000/02/29 ")), 20000229);
    for (const char* text : {"1900/02/29", "1997/13/01", "1997/11/31", "971109", "1997/11",
                             "1997/11/09/1", "1997-11/09", "abc", "", "197/11/09", "1997/011/09"})
        EXPECT_FALSE(calendarDateText(text).has_value()) << text;
}

TEST(DateForms, SerialDaysAreTheDatesASpreadsheetShows) {
    // Worked out from the calendar: 1900-01-01 is day 1, and day 60 is the 1900-02-29 that
    // spreadsheets count, so 1900-03-01 is day 61 and 2008-03-03 is day 39510. In the 1904
    // system day 0 is 1904-01-01, 1462 days after 1900-01-01's 1900-system day 1 plus the
    // false leap day.
    struct Case {
        double serial;
        DateSystem system;
        int64_t date; // 0: unreadable
    };
    constexpr auto k1900 = DateSystem::From1900, k1904 = DateSystem::From1904;
    const Case cases[] = {
        {1, k1900, 19000101},
        {1.99, k1900, 19000101},
        {59, k1900, 19000228},
        {60, k1900, 0},
        {61, k1900, 19000301},
        {39510, k1900, 20080303},
        {39510.75, k1900, 20080303},
        {2958465, k1900, 99991231},
        {2958466, k1900, 0},
        {0, k1900, 0},
        {0.5, k1900, 0},
        {-1, k1900, 0},
        {1e12, k1900, 0},
        {0, k1904, 19040101},
        {38048, k1904, 20080303},
        {2957003, k1904, 99991231},
        {2957004, k1904, 0},
        {-0.5, k1904, 0},
        {std::numeric_limits<double>::quiet_NaN(), k1900, 0},
        {std::numeric_limits<double>::infinity(), k1904, 0},
    };
    for (const Case& c : cases) {
        const std::optional<Fixed4> date = serialDate(c.serial, c.system);
        if (c.date == 0)
            EXPECT_FALSE(date.has_value()) << c.serial;
        else
            EXPECT_EQ(whole(date), c.date) << c.serial;
    }
}

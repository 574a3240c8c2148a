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

TEST(DateForms, SerialDaysCountFromTheEndOf1899) {
    EXPECT_EQ(whole(serialDate(1)), 18991231);
    EXPECT_EQ(whole(serialDate(39510)), 20080303);
    EXPECT_EQ(whole(serialDate(39510.75)), 20080303);
    EXPECT_FALSE(serialDate(1e12).has_value());
    EXPECT_FALSE(serialDate(std::numeric_limits<double>::quiet_NaN()).has_value());
}

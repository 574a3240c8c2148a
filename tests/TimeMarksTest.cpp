#include "analysis/TimeMarks.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <memory>

namespace nimbrel {

namespace {

std::vector<std::pair<int, int>> barsAndNumbers(const std::vector<TimeMark>& marks) {
    std::vector<std::pair<int, int>> pairs;
    for (const TimeMark& m : marks) pairs.emplace_back(m.bar, m.number);
    return pairs;
}

} // namespace

TEST(TimeMarks, MarksCountThePivotOrTheFirstBarAsOne) {
    using Marks = std::vector<std::pair<int, int>>;
    EXPECT_EQ(barsAndNumbers(basicNumberMarks(10, kBasicNumbers)), (Marks{{18, 9},
                                                                          {26, 17},
                                                                          {35, 26},
                                                                          {42, 33},
                                                                          {51, 42},
                                                                          {60, 51},
                                                                          {74, 65},
                                                                          {85, 76},
                                                                          {92, 83},
                                                                          {106, 97},
                                                                          {110, 101},
                                                                          {138, 129},
                                                                          {181, 172},
                                                                          {235, 226},
                                                                          {266, 257}}));
    EXPECT_EQ(barsAndNumbers(basicNumberMarks(3, {26, 0, -3, 9, 1})),
              (Marks{{28, 26}, {11, 9}, {3, 1}}))
        << "numbers below 1 are skipped, the list's order kept";

    const struct {
        const char* name;
        int first, second;
        Marks marks;
    } equalCounts[] = {
        {"21 bars", 100, 120, {{140, 21}, {160, 21}}},
        {"the later bar given first", 120, 100, {{140, 21}, {160, 21}}},
        {"two neighbouring bars", 5, 6, {{7, 2}, {8, 2}}},
        {"one bar alone", 7, 7, {}},
    };
    for (const auto& c : equalCounts) {
        EXPECT_EQ(barsAndNumbers(equalCountMarks(c.first, c.second)), c.marks) << c.name;
    }
}

TEST(TimeMarks, TheUsersListIsWholeNumbersFrom1To999ApartByCommas) {
    const struct {
        const char* text;
        std::vector<int> numbers;
    } accepted[] = {{"9,17,26", {9, 17, 26}},
                    {" 9 , 17\t", {9, 17}},
                    {"1", {1}},
                    {"999,0999", {999, 999}},
                    {"26,9,26", {26, 9, 26}}};
    for (const auto& c : accepted) EXPECT_EQ(parseNumberList(c.text), c.numbers) << c.text;
    for (const char* text : {"", "0", "1000", "99999999999999999999", "9,,17", "9,17,", "9;17",
                             "9 17", "9.5", "-9", "+9", "１７" /* full-width digits */}) {
        EXPECT_EQ(parseNumberList(QString::fromUtf8(text)), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(numberListText(kBasicNumbers),
              QString("9,17,26,33,42,51,65,76,83,97,101,129,172,226,257"));
    EXPECT_EQ(parseNumberList(numberListText(kBasicNumbers)), kBasicNumbers);
}

} // namespace nimbrel

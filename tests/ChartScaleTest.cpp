#include "chart/AxisScale.h"

#include "LoaderTestSupport.h"
#include "Printers.h"

#include <gtest/gtest.h>

namespace nimbrel {

// The automatic step gives at least twenty intervals; a step of the user's is used as typed.
TEST(ChartScale, TheStepAndTheRoundedEndsOfTheAxis) {
    struct Case {
        const char *high, *low;
        float userStep;
        double step, top;
        const char* bottom;
    };
    const Case cases[] = {
        {"5000", "4000", 0, 50, 5000, "4000"},       {"1234", "1150", 0, 2, 1234, "1150"},
        {"9.87", "8.12", 0, 0.05, 9.9, "8.1"},       {"8.1", "8.1", 0, 0.05, 8.15, "8.05"},
        {"1500", "1500", 0, 5, 1505, "1495"},        {"1503", "1503", 0, 5, 1510, "1495"},
        {"25000", "100", 0, 1000, 25000, "0"},       {"-5", "-20", 0, 0.5, -5, "-20"},
        {"12000000", "0", 0, 500000, 12000000, "0"}, {"5000", "4000", 500, 500, 5000, "4000"},
        {"1500", "1500", 10, 10, 1510, "1490"},    // flat: one step each side
        {"9.87", "8.12", 0.05f, 0.05, 9.9, "8.1"}, // typed as 0.05, held in single precision
        {"1000", "500", 0, 20, 1000, "500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.high) + " " + c.low + " " + std::to_string(c.userStep));
        const AxisScale axis = axisScale(price(c.high), price(c.low), c.userStep);
        EXPECT_DOUBLE_EQ(axis.step, c.step);
        EXPECT_NEAR(axis.top, c.top, 1e-9);
        EXPECT_EQ(axis.bottom, price(c.bottom));
    }
}

} // namespace nimbrel

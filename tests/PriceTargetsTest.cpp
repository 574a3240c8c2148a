#include "analysis/PriceTargets.h"

#include "LoaderTestSupport.h"
#include "Printers.h"

#include <gtest/gtest.h>

#include <memory>

namespace nimbrel {

namespace {

void expectTargets(const PriceTargets& got, const char* n, const char* v, const char* e,
                   const char* nt) {
    EXPECT_EQ(got.nTarget, price(n)) << "N";
    EXPECT_EQ(got.vTarget, price(v)) << "V";
    EXPECT_EQ(got.eTarget, price(e)) << "E";
    EXPECT_EQ(got.ntTarget, price(nt)) << "NT";
}

} // namespace

TEST(PriceTargets, AClickTakesTheHighOrTheLowNearerThePointer) {
    const PriceRow bar{Fixed4::fromWhole(20240305), price("11"), price("12"), price("10"),
                       price("11")};
    const struct {
        const char* name;
        double pointer;
        PriceSide side;
    } cases[] = {
        {"just above the middle", 11.0001, PriceSide::High},
        {"just below the middle", 10.9999, PriceSide::Low},
        {"at the middle", 11.0, PriceSide::High},
        {"above the bar", 15.0, PriceSide::High},
        {"below the bar", 3.0, PriceSide::Low},
    };
    for (const auto& c : cases) {
        const PickedPrice picked = pickPrice(bar, c.pointer);
        EXPECT_EQ(picked.side, c.side) << c.name;
        EXPECT_EQ(picked.price, c.side == PriceSide::High ? price("12") : price("10")) << c.name;
    }
    const PriceRow onePrice{Fixed4::fromWhole(20240305), price("9.5"), price("9.5"), price("9.5"),
                            price("9.5")};
    EXPECT_EQ(pickPrice(onePrice, 4.0).side, PriceSide::High);
}

TEST(PriceTargets, ThreeDatesTakeLowHighLowOfARiseOrHighLowHighOfAFall) {
    auto bars = std::make_unique<PriceSeries>();
    const struct {
        int64_t date;
        const char *high, *low;
    } rows[] = {
        {20240102, "4200", "4112"}, {20240110, "4789", "4600"}, {20240118, "4600", "4487"},
        {20240201, "5000", "4800"}, {20240208, "4900", "4000"}, {20240215, "4600", "4100"},
        {20240222, "4600", "4300"},
    };
    for (const auto& r : rows) {
        bars->priceTable[++bars->dataCount] = {Fixed4::fromWhole(r.date), price(r.low),
                                               price(r.high), price(r.low), price(r.low)};
    }
    const struct {
        const char* name;
        int64_t a, b, c;
        Swing swing;
        const char *priceA, *priceB, *priceC, *n, *v, *e, *nt;
    } cases[] = {
        {"a rise", 20240102, 20240110, 20240118, Swing::Rise, "4112", "4789", "4487", "5164",
         "5091", "5466", "4862"},
        {"a fall", 20240201, 20240208, 20240215, Swing::Fall, "5000", "4000", "4600", "3600",
         "3400", "3000", "4200"},
        {"dates between bars take the next bar", 20240130, 20240207, 20240214, Swing::Fall, "5000",
         "4000", "4600", "3600", "3400", "3000", "4200"},
        {"equal highs are a fall", 20240215, 20240222, 20240215, Swing::Fall, "4600", "4300",
         "4600", "4300", "4000", "4000", "4600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto taken = swingTargets(*bars, Fixed4::fromWhole(c.a), Fixed4::fromWhole(c.b),
                                        Fixed4::fromWhole(c.c));
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->swing, c.swing);
        EXPECT_EQ(taken->a, price(c.priceA));
        EXPECT_EQ(taken->b, price(c.priceB));
        EXPECT_EQ(taken->c, price(c.priceC));
        expectTargets(taken->targets, c.n, c.v, c.e, c.nt);
    }
    EXPECT_FALSE(swingTargets(*bars, Fixed4::fromWhole(20240102), Fixed4::fromWhole(20240110),
                              Fixed4::fromWhole(20240223)))
        << "a date after the newest bar";
}

} // namespace nimbrel

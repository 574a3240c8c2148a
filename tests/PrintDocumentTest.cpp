#include "chart/ViewOperations.h"
#include "print/Printer.h"
#include "print/PrintDocument.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

#include <memory>

namespace nimbrel {

namespace {

// Keeps every sheet begun as a recording page.
class RecordingPrinter final : public Printer {
public:
    struct Sheet {
        std::unique_ptr<RecordingSurface> page = std::make_unique<RecordingSurface>(11000, 15840);
        bool ended = false;
    };
    std::vector<Sheet> sheets;

    bool printsToFile() const override { return false; }
    QString fileName() const override { return {}; }
    void setFileName(const QString&) override {}
    Surface* beginDocument(QString&) override {
        sheets.push_back({});
        return sheets.back().page.get();
    }
    bool endDocument(QString&) override { return sheets.back().ended = true; }

    // The titles printed on each sheet, in order.
    std::vector<std::vector<std::string>> titles() const {
        std::vector<std::vector<std::string>> found;
        for (const Sheet& sheet : sheets) {
            found.emplace_back();
            for (const Stroke& s : sheet.page->strokes())
                if (s.kind == "text" && s.text.rfind("見本", 0) == 0)
                    found.back().push_back(s.text);
        }
        return found;
    }
};

std::unique_ptr<PriceSeries> named(const char* name, int days) {
    auto series = chartSeries(days);
    series->titleLine1 = QStringLiteral("見本") + QString::fromLatin1(name);
    return series;
}

} // namespace

TEST(PrintDocument, ASheetHoldsEveryChartUntilAWholeSheetOrALowerHalfEndsIt) {
    const auto a = named("A", 60), b = named("B", 80), none = std::make_unique<PriceSeries>();
    using P = SheetPart;
    const std::string ta = "見本A 日足   19990104～19990323",
                      tb = "見本B 日足   19990104～19990423";
    const struct {
        std::vector<std::pair<const PriceSeries*, SheetPart>> commands;
        std::vector<std::vector<std::string>> sheets; // the charts on each sheet, by title
        bool open;                                    // a sheet still open at the end
    } cases[] = {
        {{{a.get(), P::Whole}}, {{ta}}, false},
        {{{a.get(), P::UpperHalf}, {b.get(), P::LowerHalf}}, {{ta, tb}}, false},
        {{{a.get(), P::UpperHalf}, {b.get(), P::UpperHalf}, {a.get(), P::LowerHalf}},
         {{ta, tb, ta}},
         false},
        {{{b.get(), P::LowerHalf}}, {{tb}}, false},
        {{{a.get(), P::UpperHalf}, {b.get(), P::Whole}}, {{ta, tb}}, false},
        {{{a.get(), P::Whole}, {b.get(), P::Whole}}, {{ta}, {tb}}, false},
        {{{a.get(), P::UpperHalf}}, {{ta}}, true},
        // Without data nothing is drawn and no blank sheet comes out, but a whole sheet still
        // ends the open one.
        {{{none.get(), P::Whole}, {none.get(), P::UpperHalf}, {none.get(), P::LowerHalf}},
         {},
         false},
        {{{a.get(), P::UpperHalf}, {none.get(), P::LowerHalf}}, {{ta}}, true},
        {{{a.get(), P::UpperHalf}, {none.get(), P::Whole}}, {{ta}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.sheets));
        RecordingPrinter printer;
        PrintDocument document(printer);
        for (const auto& [series, part] : c.commands) {
            ViewState view;
            scanVisibleRange(*series, view);
            const PrintResult result = document.printChart(*series, view, part);
            EXPECT_EQ(result.printedChart, series->dataCount > 0);
            EXPECT_FALSE(result.failure);
        }
        EXPECT_EQ(printer.titles(), c.sheets);
        // A sheet is never cleared: a lower half is drawn beside the upper one.
        for (const auto& sheet : printer.sheets)
            for (const std::string& call : sheet.page->calls()) EXPECT_NE(call, "clear");
        EXPECT_EQ(document.isOpen(), c.open);
        EXPECT_FALSE(document.end());
        for (const auto& sheet : printer.sheets) EXPECT_TRUE(sheet.ended); // the end brings it out
    }
}

} // namespace nimbrel

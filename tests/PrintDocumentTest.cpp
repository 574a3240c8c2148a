#include "chart/ViewOperations.h"
#include "platform/Printer.h"
#include "print/PrintDocument.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Keeps every sheet begun as a recording page; refuses when a test says so.
class RecordingPrinter final : public Printer {
public:
    struct Sheet {
        std::unique_ptr<RecordingSurface> page = std::make_unique<RecordingSurface>(11000, 15840);
        bool ended = false;
    };
    std::vector<Sheet> sheets;
    QString refuseBegin, refuseEnd; // the platform's reasons

    bool printsToFile() const override { return false; }
    QString fileName() const override { return {}; }
    void setFileName(const QString&) override {}
    Surface* beginDocument(QString& reason) override {
        reason = refuseBegin;
        if (!reason.isEmpty()) return nullptr;
        sheets.push_back({});
        return sheets.back().page.get();
    }
    bool endDocument(QString& reason) override {
        reason = refuseEnd;
        sheets.back().ended = reason.isEmpty();
        return reason.isEmpty();
    }

    // The titles printed on a sheet, in order.
    std::vector<std::string> titles(size_t sheet) const {
        std::vector<std::string> found;
        for (const Stroke& s : sheets[sheet].page->strokes())
            if (s.kind == "text" && s.text.rfind("見本", 0) == 0) found.push_back(s.text);
        return found;
    }
};

std::unique_ptr<PriceSeries> named(const QString& name, int days) {
    auto series = chartSeries(days);
    series->titleLine1 = QStringLiteral("見本") + name;
    return series;
}

} // namespace

TEST(PrintDocument, ASheetHoldsEveryChartUntilAWholeSheetOrALowerHalfEndsIt) {
    const auto a = named(QStringLiteral("A"), 60), b = named(QStringLiteral("B"), 80);
    using P = SheetPart;
    struct Case {
        std::vector<std::pair<const PriceSeries*, SheetPart>> commands;
        std::vector<std::vector<std::string>> sheets; // the charts on each sheet, by title
        bool open;                                    // a sheet still open at the end
    };
    const std::string ta = "見本A 日足   19990104～19990323",
                      tb = "見本B 日足   19990104～19990423";
    const Case cases[] = {
        {{{a.get(), P::Whole}}, {{ta}}, false},
        {{{a.get(), P::UpperHalf}, {b.get(), P::LowerHalf}}, {{ta, tb}}, false},
        {{{a.get(), P::UpperHalf}, {b.get(), P::UpperHalf}, {a.get(), P::LowerHalf}},
         {{ta, tb, ta}},
         false},
        {{{b.get(), P::LowerHalf}}, {{tb}}, false},
        {{{a.get(), P::UpperHalf}, {b.get(), P::Whole}}, {{ta, tb}}, false},
        {{{a.get(), P::Whole}, {b.get(), P::Whole}}, {{ta}, {tb}}, false},
        {{{a.get(), P::UpperHalf}}, {{ta}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commands.size());
        RecordingPrinter printer;
        PrintDocument document(printer);
        for (const auto& [series, part] : c.commands) {
            ViewState view;
            scanVisibleRange(*series, view);
            const PrintResult result = document.printChart(*series, view, part);
            EXPECT_TRUE(result.printedChart);
            EXPECT_FALSE(result.failure);
        }
        ASSERT_EQ(printer.sheets.size(), c.sheets.size());
        for (size_t s = 0; s < c.sheets.size(); ++s) {
            EXPECT_EQ(printer.titles(s), c.sheets[s]);
            // The pass never ends the page itself, and the sheet is never cleared.
            for (const std::string& call : printer.sheets[s].page->calls())
                EXPECT_TRUE(call != "end" && call != "clear");
        }
        EXPECT_EQ(document.isOpen(), c.open);
        EXPECT_EQ(printer.sheets.back().ended, !c.open);
        EXPECT_FALSE(document.end());
        EXPECT_TRUE(printer.sheets.back().ended); // the end of the program brings it out
    }
}

TEST(PrintDocument, WithoutDataNothingIsDrawnButAWholeSheetStillEndsTheOpenOne) {
    const auto a = named(QStringLiteral("A"), 60);
    PriceSeries empty;
    RecordingPrinter printer;
    PrintDocument document(printer);
    ViewState view;
    for (SheetPart part : {SheetPart::Whole, SheetPart::UpperHalf, SheetPart::LowerHalf})
        EXPECT_FALSE(document.printChart(empty, view, part).printedChart);
    EXPECT_TRUE(printer.sheets.empty()); // no blank sheet comes out

    scanVisibleRange(*a, view);
    (void)document.printChart(*a, view, SheetPart::UpperHalf);
    (void)document.printChart(empty, view, SheetPart::LowerHalf);
    EXPECT_TRUE(document.isOpen());
    (void)document.printChart(empty, view, SheetPart::Whole);
    EXPECT_FALSE(document.isOpen());
    ASSERT_EQ(printer.sheets.size(), 1u);
    EXPECT_TRUE(printer.sheets[0].ended);
    EXPECT_EQ(printer.titles(0).size(), 1u);
}

TEST(PrintDocument, APrinterErrorAbandonsTheSheetAndTheNextCommandBeginsAnother) {
    const auto a = named(QStringLiteral("A"), 60);
    RecordingPrinter printer;
    PrintDocument document(printer);
    ViewState view;
    scanVisibleRange(*a, view);

    printer.refuseBegin = QStringLiteral("プリンタがありません");
    PrintResult result = document.printChart(*a, view, SheetPart::UpperHalf);
    EXPECT_FALSE(result.printedChart);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->title, QStringLiteral("エラー"));
    EXPECT_EQ(result.failure->text, QStringLiteral("印刷できません\nプリンタがありません"));
    EXPECT_EQ(result.failure->icon, MessageIcon::Exclamation);
    EXPECT_FALSE(document.isOpen());

    printer.refuseBegin.clear();
    printer.refuseEnd = QStringLiteral("用紙がありません");
    EXPECT_TRUE(document.printChart(*a, view, SheetPart::UpperHalf).printedChart);
    result = document.printChart(*a, view, SheetPart::LowerHalf);
    EXPECT_FALSE(result.printedChart);
    EXPECT_EQ(result.failure->text, QStringLiteral("印刷できません\n用紙がありません"));
    EXPECT_FALSE(document.isOpen());

    printer.refuseEnd.clear();
    EXPECT_TRUE(document.printChart(*a, view, SheetPart::LowerHalf).printedChart);
    ASSERT_EQ(printer.sheets.size(), 2u);
    EXPECT_EQ(printer.titles(1).size(), 1u); // a fresh sheet, without the abandoned half
}

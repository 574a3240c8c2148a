#include "painter/PageSurface.h"

#include "PrintedPages.h"

#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace nimbrel {

namespace {

// Dots to the inch of the test pages, rendered at as many pixels: a dot is a pixel.
constexpr int kDots = 150;
constexpr double kTwipsPerDot = kTwipsPerInch / kDots;
constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kBlue{0, 0, 255};

// The same drawing stroke by stroke through the painter, as a page was drawn before its ink
// was gathered: what the gathered page must show, every edge within a dot.
class PlainPage final : public PainterSurface {
public:
    PlainPage(QPagedPaintDevice& page, int resolution) : painter_(&page) {
        const QRectF area = page.pageLayout().paintRectPixels(resolution);
        begin(painter_, area.width() * kTwipsPerInch / resolution,
              area.height() * kTwipsPerInch / resolution, resolution, resolution / 96.0, Qt::white);
    }
    void end() { painter_.end(); }

private:
    QPainter painter_;
};

template <typename Page>
QImage drawn(const QString& pdf, const std::function<void(Surface&)>& draw) {
    {
        QPdfWriter writer(pdf);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(4, 3), QPageSize::Inch),
                                         QPageLayout::Portrait, QMarginsF()));
        writer.setResolution(kDots);
        Page page(writer, kDots);
        draw(page);
        page.end();
    }
    return pdfPageImage(pdf, kDots);
}

// How far, in pixels (up to 4), some pixel of the colour in one image is from the nearest of
// that colour in the other.
int farthestMove(const QImage& one, const QImage& other, Rgb color) {
    const QRgb rgb = qRgb(color.red, color.green, color.blue);
    const auto nearest = [rgb](const QImage& in, int x, int y) {
        for (int reach = 0; reach < 4; ++reach)
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                    if (in.rect().contains(x + dx, y + dy) && in.pixel(x + dx, y + dy) == rgb)
                        return reach;
        return 4;
    };
    int farthest = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            if (one.pixel(x, y) == rgb) farthest = std::max(farthest, nearest(other, x, y));
            if (other.pixel(x, y) == rgb) farthest = std::max(farthest, nearest(one, x, y));
        }
    return farthest;
}

void zigzag(Surface& s, double& x, double& y, int segments, double step) {
    for (int i = 0; i < segments; ++i) {
        const double nextX = x + step + (i % 3) * 3.7, nextY = y + (i % 2 ? -1 : 1) * (40 + i * 9);
        s.line(x, y, nextX, nextY);
        x = nextX, y = nextY;
    }
}

} // namespace

// Gathering lines by pen and colour, joining them, putting them on dots and leaving out boxes
// that do not show must not move an edge by more than a dot: the same drawing made stroke by
// stroke shows each colour in the same places. Where two colours meet, both edges may move.
TEST(PageInk, ShowsEachColourWhereTheStrokesDrawnOneByOneDo) {
    const struct {
        const char* name;
        std::vector<Rgb> colours; // white is the paper's too: only where inks meet
        int dots;
        std::function<void(Surface&)> draw;
    } scenes[] = {
        {"a line that changes pen on its way",
         {kBlack},
         1,
         [](Surface& s) {
             double x = 300.3, y = 1500.2;
             zigzag(s, x, y, 30, 71.3);
             s.setPenWidth(5);
             zigzag(s, x, y, 4, 150);
             s.setPenWidth(1);
             s.setPenStyle(PenStyle::Dashed);
             zigzag(s, x, y, 3, 300);
             // Corners and short segments of a wide pen, and two upright lines a dot across.
             s.setPenStyle(PenStyle::Solid);
             s.setPenWidth(5);
             for (int i = 0; i < 6; ++i) {
                 s.line(300 + i * 400.3, 3000, 500 + i * 400.3, 3000);
                 s.line(500 + i * 400.3, 3000, 500 + i * 400.3, 3300);
                 s.line(300 + i * 400.7, 3800, 307 + i * 400.7, 3806);
             }
             s.line(5000, 300, 5000, 1000);
             s.line(5000.2, 1600, 5000.2, 2400);
         }},
        {"dotted and dashed lines, long and short",
         {kBlack},
         1,
         [](Surface& s) {
             s.setPenWidth(2);
             for (const PenStyle style : {PenStyle::Dotted, PenStyle::Dashed}) {
                 s.setPenStyle(style);
                 const double top = style == PenStyle::Dotted ? 400 : 2400;
                 for (int i = 0; i < 12; ++i)
                     s.line(300.4 + i * 3.1, top + i * 131.7, 2000 + i * 331.9, top + i * 140);
                 double x = 300, y = top + 1700;
                 for (int i = 0; i < 60; ++i, x += 21.3, y += (i % 4 - 1.5) * 7)
                     s.line(x, y, x + 21.3, y + (i % 4 - 1.5) * 7);
             }
             // The pen is 3 dots wide, its dots 3 dots on and 6 off. Lines that start a quarter
             // of a dot before a dot and end 0.3 dots into a dash: with their ends on whole dots
             // they would lose that sliver of a dash.
             s.setPenStyle(PenStyle::Dotted);
             for (int i = 0; i < 4; ++i) {
                 const double x = (40 - 0.25) * kTwipsPerDot, y = 4000 + i * 200;
                 s.line(x, y, x + (9 * (10 + i) + 0.3) * kTwipsPerDot, y);
             }
         }},
        {"lines and boxes over others in other colours",
         {kBlack, kWhite, kRed, kBlue},
         2,
         [](Surface& s) {
             for (int i = 0; i < 8; ++i) {
                 const double x = 600.2 + i * 480, half = i < 4 ? 2.6 : 150.3;
                 s.setPenColor(kBlack);
                 s.line(x, 300, x, 2900);
                 s.box(x - half, 800.4 + i * 30, x + half, 2100, kBlack, BoxFill::Filled);
                 if (i % 2 == 0) continue;
                 s.box(x - half, 800.4 + i * 30, x + half, 2100, kWhite, BoxFill::Filled);
                 s.box(x - half, 800.4 + i * 30, x + half, 2100, kRed, BoxFill::Outline);
             }
             s.setPenWidth(6);
             s.setPenColor(kBlue);
             s.line(300, 1500.3, 5500, 1700);
             s.setPenColor(kBlack);
             s.line(300, 2500, 5500, 2400.6);
             s.box(500, 3300, 2500, 3800, kBlue, BoxFill::Filled);
             s.box(1500, 3500, 4000, 4000, kRed, BoxFill::Filled);
         }},
        {"texts between inks",
         {kBlack, kWhite, kRed, kBlue},
         2,
         [](Surface& s) {
             s.box(300, 300, 3000, 1200, kBlue, BoxFill::Filled);
             s.setFont(QStringLiteral("ＭＳ 明朝"), 24);
             s.setPenColor(kBlack);
             s.line(200, 700, 4000, 800);
             s.printText(400, 400, QStringLiteral("見本 12.5"));
             s.setPenColor(kRed);
             s.setPenWidth(3);
             s.line(200, 600, 4000, 500);
             s.setPenColor(kWhite);
             s.printText(2000, 400, QStringLiteral("1999"));
         }},
    };
    QTemporaryDir dir;
    for (const auto& scene : scenes) {
        SCOPED_TRACE(scene.name);
        const QImage gathered =
            drawn<PageSurface>(dir.filePath(QStringLiteral("ink.pdf")), scene.draw);
        const QImage plain =
            drawn<PlainPage>(dir.filePath(QStringLiteral("plain.pdf")), scene.draw);
        ASSERT_FALSE(plain.isNull());
        ASSERT_EQ(gathered.size(), plain.size());
        for (const Rgb color : scene.colours)
            EXPECT_LE(farthestMove(gathered, plain, color), scene.dots)
                << int(color.red) << " " << int(color.green) << " " << int(color.blue);
    }
}

} // namespace nimbrel

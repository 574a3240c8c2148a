#pragma once

#include "render/Surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QStaticText>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace nimbrel {

// A Surface over a QPainter: twips scaled to the device, fonts rounded to whole device pixels,
// no anti-aliasing so that every colour is exact.
class PainterSurface : public OverlaySurface {
public:
    void clear() override;
    double width() const override { return widthTwips_; }
    double height() const override { return heightTwips_; }
    double heightInPoints() const override { return heightTwips_ / kTwipsPerPoint; }

    void setDrawMode(DrawMode mode) override;
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) override;

    void setFont(const QString& name, double points) override;
    double fontSize() const override { return fontPoints_; }
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    void printText(double x, double y, const QString& text) override;

protected:
    // The painter's units per inch (96 logical pixels on a window, the page's resolution on
    // paper) and device pixels per pixel of a 96 dpi screen (for pen widths).
    PainterSurface() = default;
    void begin(QPainter& painter, double widthTwips, double heightTwips, double unitsPerInch,
               double penScale, QColor background);

    void penChanged() override { painterPenStale_ = true; }
    QColor penColor() const { return QColor(pen().color.red, pen().color.green, pen().color.blue); }
    double penPixels() const;
    double toDevice(double twips) const { return twips * unitsPerTwip_; }
    QPainter& painter() const { return *painter_; }
    // Something else set the painter's pen: the surface sets its own again before it draws.
    void painterPenTaken() {
        painterPenStale_ = true;
        textColor_.reset();
    }

private:
    // The pen goes to the painter only when something is drawn with it: a surface that writes
    // lines itself never needs it there.
    void usePen();

    // Fonts and text widths of one pixel size, kept for the whole surface: the date labels
    // measure the same texts at the same sizes again and again.
    struct FontSize {
        QString name;
        QFont font;     // merges other fonts in for what the face lacks
        QFont faceOnly; // the face alone
        QFontMetricsF metrics;
        QFontMetricsF faceOnlyMetrics;
        int pixels;
        double unitsPerInch;
        mutable QHash<QString, double> widths;
        // Texts of the face alone laid out once for an image: a redraw prints the same labels
        // again.
        mutable QHash<QString, QStaticText> texts;
        // The glyphs of the characters of numbers, by character; measured when first used.
        struct NumberGlyph {
            quint32 index = 0;
            double advance = -1;
        };
        mutable std::array<NumberGlyph, 128> numberGlyphs;
        // The face at this size; invalid until something is measured with it.
        mutable QRawFont face;
    };

    // Every size of every font the program used: every pass measures the same texts again.
    static std::vector<std::unique_ptr<FontSize>>& knownFonts();
    const QRawFont& face() const;
    const FontSize::NumberGlyph& numberGlyph(QChar c) const;
    bool printNumber(double x, double y, const QString& text);
    bool faceHas(const QString& text) const;

    QPainter* painter_ = nullptr;
    double widthTwips_ = 0, heightTwips_ = 0;
    double unitsPerInch_ = 96, unitsPerTwip_ = 96.0 / kTwipsPerInch, penScale_ = 1;
    QColor background_ = Qt::white;
    // The painter's pen is not the surface's pen (it never was, or a text or outline changed it).
    bool painterPenStale_ = true;
    // The colour of the painter's pen while it is the one texts were printed with.
    std::optional<Rgb> textColor_;
    // An image keeps the texts of the face alone laid out; a page gets drawText of the merging
    // font for every text, which a PDF keeps as text.
    bool onImage_ = false;
    double fontPoints_ = 0;
    FontSize* currentFont_ = nullptr; // one of knownFonts(), which live as long as the application
    const QFont* paintedFont_ = nullptr;
};

// The painter's pen for lines of that colour, width in device pixels and style.
QPen devicePen(Rgb color, int width, PenStyle style);

// Registers the chart's font name so that it renders the same on every machine.
void registerChartFonts();

} // namespace nimbrel

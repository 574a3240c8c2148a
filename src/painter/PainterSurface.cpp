#include "painter/PainterSurface.h"

#include <QCoreApplication>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <vector>

namespace nimbrel {

void registerChartFonts() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
}

void PainterSurface::begin(QPainter& painter, double widthTwips, double heightTwips,
                           double unitsPerInch, double penScale, QColor background) {
    painter_ = &painter;
    widthTwips_ = widthTwips;
    heightTwips_ = heightTwips;
    unitsPerInch_ = unitsPerInch;
    unitsPerTwip_ = unitsPerInch / kTwipsPerInch;
    penScale_ = penScale;
    background_ = background;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    onImage_ = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    painterPenStale_ = true;
    textColor_.reset();
}

void PainterSurface::clear() {
    painter_->fillRect(QRectF(0, 0, toDevice(widthTwips_), toDevice(heightTwips_)), background_);
}

void PainterSurface::setDrawMode(DrawMode mode) {
    painter_->setCompositionMode(mode == DrawMode::Invert ? QPainter::RasterOp_SourceXorDestination
                                                          : QPainter::CompositionMode_SourceOver);
}

// Pen widths are pixels of a 96 dpi screen, so a line keeps its weight on any device.
double PainterSurface::penPixels() const {
    return std::max(1.0, std::round(pen().width * penScale_));
}

QPen devicePen(Rgb color, int width, PenStyle style) {
    const Qt::PenStyle qtStyle = style == PenStyle::Dashed   ? Qt::DashLine
                                 : style == PenStyle::Dotted ? Qt::DotLine
                                                             : Qt::SolidLine;
    QPen pen(QColor(color.red, color.green, color.blue), width, qtStyle, Qt::FlatCap);
    pen.setCosmetic(true);
    return pen;
}

void PainterSurface::usePen() {
    if (!painterPenStale_) return;
    painter_->setPen(devicePen(pen().color, int(penPixels()), pen().style));
    painterPenStale_ = false;
    textColor_.reset();
}

void PainterSurface::line(double x1, double y1, double x2, double y2) {
    usePen();
    painter_->drawLine(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
}

void PainterSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    const QColor qcolor(color.red, color.green, color.blue);
    const QRectF rect =
        QRectF(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)))
            .normalized();
    if (fill == BoxFill::Filled) {
        painter_->fillRect(rect, qcolor);
        return;
    }
    // The outline takes the pen's width and style, as lines do.
    painter_->setPen(devicePen(color, int(penPixels()), pen().style));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(rect);
    painterPenStale_ = true;
    textColor_.reset();
}

void PainterSurface::setFont(const QString& name, double points) {
    const int pixels = fontPixels(points, unitsPerInch_);
    fontPoints_ = pixels * 72 / unitsPerInch_;
    if (currentFont_ && currentFont_->pixels == pixels &&
        currentFont_->unitsPerInch == unitsPerInch_ && currentFont_->name == name)
        return;
    // A look along the few sizes in use: hashing the name costs more than the rest of the step
    // down of 700 date labels.
    for (const std::unique_ptr<FontSize>& size : knownFonts()) {
        if (size->pixels == pixels && size->unitsPerInch == unitsPerInch_ && size->name == name) {
            currentFont_ = size.get();
            return;
        }
    }
    QFont font(name);
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::NoAntialias);
    QFont faceOnly = font;
    faceOnly.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    knownFonts().push_back(
        std::make_unique<FontSize>(FontSize{name,
                                            font,
                                            faceOnly,
                                            QFontMetricsF(font, painter_->device()),
                                            QFontMetricsF(faceOnly, painter_->device()),
                                            pixels,
                                            unitsPerInch_,
                                            {},
                                            {},
                                            {},
                                            {}}));
    currentFont_ = knownFonts().back().get();
}

std::vector<std::unique_ptr<PainterSurface::FontSize>>& PainterSurface::knownFonts() {
    static std::vector<std::unique_ptr<FontSize>> known;
    // Fonts belong to the application object: they go with it, before Qt's font database.
    static bool tiedToApplication = false;
    if (!tiedToApplication) {
        qAddPostRoutine([] {
            known.clear();
            tiedToApplication = false;
        });
        tiedToApplication = true;
    }
    return known;
}

// The face of a size of the same font already loaded, scaled: a new size of a loaded face needs
// no font matching, and the date labels try a dozen sizes that are never printed.
const QRawFont& PainterSurface::face() const {
    QRawFont& face = currentFont_->face;
    if (face.isValid()) return face;
    for (const std::unique_ptr<FontSize>& other : knownFonts()) {
        if (other->face.isValid() && other->name == currentFont_->name &&
            other->unitsPerInch == currentFont_->unitsPerInch) {
            face = other->face;
            face.setPixelSize(currentFont_->pixels);
            return face;
        }
    }
    face = QRawFont::fromFont(currentFont_->faceOnly);
    return face;
}

const PainterSurface::FontSize::NumberGlyph& PainterSurface::numberGlyph(QChar c) const {
    FontSize::NumberGlyph& glyph = currentFont_->numberGlyphs[c.unicode()];
    if (glyph.advance < 0) {
        glyph.index = face().glyphIndexesForString(QString(c)).value(0);
        glyph.advance = face().advancesForGlyphIndexes({glyph.index}).at(0).x();
    }
    return glyph;
}

// On an image, a text whose characters the face all has is measured and printed with the face
// alone: merging other fonts in looks up the fallback fonts of each script for characters
// such a text does not have. A page keeps the merging font.
bool PainterSurface::faceHas(const QString& text) const {
    return onImage_ && std::all_of(text.begin(), text.end(),
                                   [this](QChar c) { return face().supportsCharacter(c); });
}

namespace {

// Characters that never kern or combine: a number's text is as wide as their advances added up.
bool isNumberCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || u == ' ' || u == '.' || u == ',' || u == '-' || u == '+';
}

} // namespace

double PainterSurface::textWidth(const QString& text) const {
    if (!currentFont_) return 0;
    // The date labels are measured at one size after another; adding up cached advances spares
    // shaping each label anew.
    if (std::all_of(text.begin(), text.end(), isNumberCharacter)) {
        double width = 0;
        for (QChar c : text) width += numberGlyph(c).advance;
        return width / unitsPerTwip_;
    }
    auto known = currentFont_->widths.constFind(text);
    if (known != currentFont_->widths.constEnd()) return *known;
    const QFontMetricsF& metrics =
        faceHas(text) ? currentFont_->faceOnlyMetrics : currentFont_->metrics;
    const double width = metrics.horizontalAdvance(text) / unitsPerTwip_;
    if (currentFont_->widths.size() > 4096) currentFont_->widths.clear(); // titles of many files
    currentFont_->widths.insert(text, width);
    return width;
}

double PainterSurface::textHeight(const QString&) const {
    if (!currentFont_) return 0;
    return (onImage_ ? currentFont_->faceOnlyMetrics : currentFont_->metrics).height() /
           unitsPerTwip_;
}

void PainterSurface::printText(double x, double y, const QString& text) {
    if (!currentFont_) return;
    // The 700 date labels of a redraw share one colour: one pen for all of them.
    if (textColor_ != pen().color) {
        painter_->setPen(QPen(penColor()));
        textColor_ = pen().color;
        painterPenStale_ = true;
    }
    // The painter gets a font only to print: the date labels try many sizes before one.
    const auto paint = [this](const QFont& font) {
        if (paintedFont_ == &font) return;
        painter_->setFont(font);
        paintedFont_ = &font;
    };
    if (onImage_ && printNumber(x, y, text)) return;
    if (onImage_) {
        auto laidOut = currentFont_->texts.constFind(text);
        if (laidOut == currentFont_->texts.constEnd() && faceHas(text)) {
            if (currentFont_->texts.size() > 4096) currentFont_->texts.clear();
            QStaticText staticText(text);
            staticText.setTextFormat(Qt::PlainText);
            staticText.prepare(painter_->transform(), currentFont_->faceOnly);
            laidOut = currentFont_->texts.insert(text, staticText);
        }
        if (laidOut != currentFont_->texts.constEnd()) {
            paint(currentFont_->faceOnly);
            painter_->drawStaticText(QPointF(toDevice(x), toDevice(y)), *laidOut);
            return;
        }
    }
    // A page, and a text with glyphs from other fonts, which laid out would not come out the
    // same.
    paint(currentFont_->font);
    painter_->drawText(QPointF(toDevice(x), toDevice(y) + currentFont_->metrics.ascent()), text);
}

namespace {

// Where the text layout puts a coordinate: in whole 64ths of a pixel, the fraction cut off.
double layoutPosition(double pixels) {
    return static_cast<int>(pixels * 64) / 64.0;
}

} // namespace

// A number's glyphs stand side by side at their advances, where the text layout would put them:
// without the layout's shaping, which costs more than everything else of the 700 date labels
// of a first pass. On a scaled image, or for a character the face lacks, the layout does it.
bool PainterSurface::printNumber(double x, double y, const QString& text) {
    if (painter_->deviceTransform().type() > QTransform::TxTranslate ||
        !std::all_of(text.begin(), text.end(), isNumberCharacter))
        return false;
    QVarLengthArray<quint32, 32> indexes;
    QVarLengthArray<QPointF, 32> positions;
    const double baseline = face().ascent();
    double advance = 0;
    for (QChar c : text) {
        const FontSize::NumberGlyph& glyph = numberGlyph(c);
        if (glyph.index == 0) return false;
        indexes.append(glyph.index);
        positions.append(QPointF(advance, baseline));
        advance += glyph.advance;
    }
    QGlyphRun run;
    run.setRawFont(face());
    run.setRawData(indexes.constData(), positions.constData(), int(indexes.size()));
    painter_->drawGlyphRun(QPointF(layoutPosition(toDevice(x)), layoutPosition(toDevice(y))), run);
    return true;
}

} // namespace nimbrel

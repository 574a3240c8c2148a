#pragma once

#include "render/Surface.h"

#include <string>
#include <vector>

namespace nimbrel {

// One drawing call with the pen in effect: a line, a filled box ("fill"), a box outline
// ("frame") or a text. A box's colour is its own, the others' the pen's ("0 150 150").
struct Stroke {
    std::string kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string color;
    int width = 0, style = 0;
    std::string text;
};

// A surface that logs every call, with simple exact text metrics: a character is half an em
// wide (a whole em outside ASCII), a line is 1.5 em high, and font sizes come in steps of
// 0.75 point as on a 96 dpi screen.
class RecordingSurface final : public OverlaySurface {
public:
    // fontStep: the points of one device pixel (0.75 on a 96 dpi screen, 0.5 at 144 dpi).
    RecordingSurface(double widthTwips, double heightTwips, double fontStep = 0.75)
        : width_(widthTwips), height_(heightTwips), fontStep_(fontStep) {}

    void clear() override { log("clear"); }
    double width() const override { return width_; }
    double height() const override { return height_; }
    double heightInPoints() const override { return height_ / kTwipsPerPoint; }
    void setDrawMode(DrawMode mode) override;
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) override;
    void setFont(const QString& name, double points) override;
    double fontSize() const override { return fontSize_; }
    double textWidth(const QString& text) const override;
    double textHeight(const QString&) const override { return fontSize_ * 30; }
    void printText(double x, double y, const QString& text) override;

    // Each call as a line of text ("line 10.00 20.00 30.00 40.00", "font 9.00", ...).
    const std::vector<std::string>& calls() const { return calls_; }
    // The calls that start with a word, in order.
    std::vector<std::string> callsOf(const std::string& word) const;
    const std::vector<Stroke>& strokes() const { return strokes_; }

private:
    void log(std::string call) { calls_.push_back(std::move(call)); }
    void stroke(const std::string& call, Stroke drawn);

    double width_, height_;
    double fontStep_;
    double fontSize_ = 0;
    std::vector<std::string> calls_;
    std::vector<Stroke> strokes_;
};

std::string twips(double value); // two decimals, the form the log uses

} // namespace nimbrel

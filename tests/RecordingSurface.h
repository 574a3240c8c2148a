#pragma once

#include "platform/Surface.h"

#include <string>
#include <vector>

// A surface that logs every call, with simple exact text metrics: a character is half an em
// wide (a whole em outside ASCII), a line is 1.5 em high, and font sizes come in steps of
// 0.75 point as on a 96 dpi screen.
class RecordingSurface final : public Surface {
public:
    RecordingSurface(double widthTwips, double heightTwips)
        : width_(widthTwips), height_(heightTwips) {}

    void clear() override { log("clear"); }
    double width() const override { return width_; }
    double height() const override { return height_; }
    double heightInPoints() const override { return height_ / kTwipsPerPoint; }
    void setPenColor(Rgb c) override;
    void setPenWidth(int pixels) override;
    void setPenStyle(PenStyle style) override;
    void setDrawMode(DrawMode mode) override;
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) override;
    void setFont(const QString& name, double points) override;
    double fontSize() const override { return fontSize_; }
    double textWidth(const QString& text) const override;
    double textHeight(const QString&) const override { return fontSize_ * 30; }
    void printText(double x, double y, const QString& text) override;
    void endDocument() override { log("end"); }

    // Each call as a line of text ("line 10.00 20.00 30.00 40.00", "pen 0 150 150", ...).
    const std::vector<std::string>& calls() const { return calls_; }
    // The calls that start with a word, in order.
    std::vector<std::string> callsOf(const std::string& word) const;
    // Each drawing call (line, box, text) with the pen colour, width and style in effect.
    const std::vector<std::string>& strokes() const { return strokes_; }

private:
    void log(std::string call) { calls_.push_back(std::move(call)); }
    void stroke(const std::string& call);

    double width_, height_;
    double fontSize_ = 0;
    Rgb pen_;
    int penWidth_ = 1;
    int penStyle_ = 0;
    std::vector<std::string> calls_;
    std::vector<std::string> strokes_;
};

std::string twips(double value); // two decimals, the form the log uses

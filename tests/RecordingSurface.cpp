#include "RecordingSurface.h"

#include <cmath>
#include <cstdio>

namespace nimbrel {

std::string twips(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

namespace {
std::string rgb(Rgb c) {
    return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
}
} // namespace

void RecordingSurface::setDrawMode(DrawMode mode) {
    log(mode == DrawMode::Invert ? "mode invert" : "mode copy");
}

void RecordingSurface::stroke(const std::string& call, Stroke drawn) {
    log(call);
    if (drawn.color.empty()) drawn.color = rgb(pen().color);
    drawn.width = pen().width;
    drawn.style = static_cast<int>(pen().style);
    strokes_.push_back(std::move(drawn));
}

void RecordingSurface::line(double x1, double y1, double x2, double y2) {
    stroke("line " + twips(x1) + " " + twips(y1) + " " + twips(x2) + " " + twips(y2),
           {"line", x1, y1, x2, y2, {}, 0, 0, {}});
}

void RecordingSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    const std::string kind = fill == BoxFill::Filled ? "fill" : "frame";
    stroke(kind + " " + twips(x1) + " " + twips(y1) + " " + twips(x2) + " " + twips(y2) + " " +
               rgb(color),
           {kind, x1, y1, x2, y2, rgb(color), 0, 0, {}});
}

void RecordingSurface::setFont(const QString&, double points) {
    fontSize_ = std::max(fontStep_, std::round(points / fontStep_) * fontStep_);
    log("font " + twips(fontSize_));
}

double RecordingSurface::textWidth(const QString& text) const {
    double ems = 0;
    for (QChar c : text) ems += c.unicode() < 0x80 ? 0.5 : 1.0;
    return ems * fontSize_ * kTwipsPerPoint;
}

void RecordingSurface::printText(double x, double y, const QString& text) {
    stroke("text " + twips(x) + " " + twips(y) + " " + text.toStdString(),
           {"text", x, y, x, y, {}, 0, 0, text.toStdString()});
}

std::vector<std::string> RecordingSurface::callsOf(const std::string& word) const {
    std::vector<std::string> found;
    for (const std::string& call : calls_)
        if (call.rfind(word + " ", 0) == 0) found.push_back(call);
    return found;
}

} // namespace nimbrel

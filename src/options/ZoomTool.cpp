#include "options/ZoomTool.h"

#include "chart/ViewOperations.h"

#include <algorithm>
#include <cmath>

namespace nimbrel {

namespace {

int16_t wholeTwips(double y) {
    return static_cast<int16_t>(std::clamp(std::lround(y), -32768L, 32767L));
}

void invertedFrame(OverlaySurface& surface, double x1, double y1, double x2, double y2) {
    surface.setDrawMode(DrawMode::Invert);
    surface.setPenStyle(PenStyle::Dotted);
    surface.box(x1, y1, x2, y2, Rgb{255, 255, 255}, BoxFill::Outline);
    surface.setDrawMode(DrawMode::Copy);
}

} // namespace

void ZoomTool::arm(ViewState& view) {
    if (state_ != ZoomState::Idle) return;
    from_ = 0;
    view.endOffset = 0;
    state_ = ZoomState::Armed;
}

void ZoomTool::startBand(int day, double x, double y) {
    from_ = day;
    anchorX_ = lastX_ = static_cast<float>(x);
    anchorY_ = lastY_ = wholeTwips(y);
    bandDrawn_ = false;
    state_ = ZoomState::Band;
}

void ZoomTool::followPointer(OverlaySurface& surface, double x, double y) {
    drawBand(surface);
    lastX_ = static_cast<float>(x);
    lastY_ = wholeTwips(y);
    bandDrawn_ = true;
    drawBand(surface);
}

void ZoomTool::drawBand(OverlaySurface& surface) const {
    if (bandDrawn_) invertedFrame(surface, anchorX_, anchorY_, lastX_, lastY_);
}

void ZoomTool::apply(const PriceSeries& series, ViewState& view, int day) {
    const int first = std::min(from_, day), last = std::max(from_, day);
    state_ = ZoomState::Idle;
    bandDrawn_ = false;
    showDays(series, view, first, last);
}

void ZoomTool::cancel(OverlaySurface& surface) {
    drawBand(surface);
    bandDrawn_ = false;
    state_ = ZoomState::Idle;
}

} // namespace nimbrel

#pragma once

#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "render/Surface.h"
#include "tools/MouseDispatch.h"

namespace nimbrel {

// ズーム: two clicks on the chart choose the days to show; between them a dotted rubber band
// follows the pointer, drawn by inverting the chart image so that drawing it again erases it.
class ZoomTool {
public:
    ZoomState state() const { return state_; }
    int firstPoint() const { return from_; }

    // The menu command, while no zoom is under way: the next left click starts the band.
    // The view is set to end at the newest day.
    void arm(ViewState& view);
    // The first click, at day `day` and the pointer's twips.
    void startBand(int day, double x, double y);
    // The pointer moved: the band goes from the first click to it.
    void followPointer(OverlaySurface& surface, double x, double y);
    // The band as it stands, drawn once more: erases it, or puts it back on a new image.
    // Nothing before the pointer first moves: no band is drawn until then.
    void drawBand(OverlaySurface& surface) const;
    // The second click: the days between the two clicks, with their price range.
    void apply(const PriceSeries& series, ViewState& view, int day);
    // A right click during the band: the band is erased and the zoom given up.
    void cancel(OverlaySurface& surface);
    // グラフ初期化 forgets a first point.
    void forgetFirstPoint() { from_ = 0; }

private:
    ZoomState state_ = ZoomState::Idle;
    int from_ = 0;
    float anchorX_ = 0, lastX_ = 0;
    int16_t anchorY_ = 0, lastY_ = 0;
    bool bandDrawn_ = false;
};

} // namespace nimbrel

#pragma once

#include "tools/AnalysisPicker.h"
#include "tools/MeasuringTool.h"

#include <cstdint>

namespace nimbrel {

// Which tool a mouse event over the chart goes to. The zoom band comes first, then measuring,
// then the analysis tools' picking, then the read-out window, then the context menus of the
// right button.

enum class ZoomState : int16_t { Idle = 0, Armed = 1, Band = 2 };

enum class MouseButton { Left, Right, Middle };

struct ToolStates {
    int32_t dataCount = 0;
    ZoomState zoom = ZoomState::Idle;
    MeasureState measuring = MeasureState::Off;
    bool readoutVisible = false;
    Picking picking = Picking::None;
};

enum class MoveAction { None, FollowZoomBand, UpdateReadout, UpdateMeasuring };

enum class PressAction {
    None,
    FirstZoomPoint,
    SecondZoomPoint,
    FirstMeasuringPoint,
    EndMeasuring,
    AnalysisPoint, // a point picked for a time mark or the price targets
    ShowReadout,
    CancelZoom,
    // The file menu at the pointer, after the version window is closed.
    FileMenu,
    // The file menu after the version, read-out and measuring windows are closed (Ctrl).
    FileMenuClosingTools,
    // The options menu, after the file panel is hidden and the version, read-out and measuring
    // windows are closed.
    OptionsMenu,
};

MoveAction moveAction(const ToolStates& states);
// onlyCtrl: Ctrl is held, and neither Shift nor Alt.
PressAction pressAction(const ToolStates& states, MouseButton button, bool onlyCtrl);

} // namespace nimbrel

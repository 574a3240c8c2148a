#include "tools/MouseDispatch.h"

namespace nimbrel {

MoveAction moveAction(const ToolStates& states) {
    if (states.zoom == ZoomState::Band) return MoveAction::FollowZoomBand;
    if (states.readoutVisible) return MoveAction::UpdateReadout;
    if (states.measuring != MeasureState::Off) return MoveAction::UpdateMeasuring;
    return MoveAction::None;
}

PressAction pressAction(const ToolStates& states, MouseButton button, bool onlyCtrl) {
    if (states.dataCount == 0)
        return button == MouseButton::Right ? PressAction::FileMenu : PressAction::None;
    switch (button) {
    case MouseButton::Left:
        if (states.zoom == ZoomState::Armed) return PressAction::FirstZoomPoint;
        if (states.zoom == ZoomState::Band) return PressAction::SecondZoomPoint;
        if (states.measuring == MeasureState::FirstPointFixed) return PressAction::EndMeasuring;
        if (states.measuring == MeasureState::Armed) return PressAction::FirstMeasuringPoint;
        if (states.picking != Picking::None) return PressAction::AnalysisPoint;
        return PressAction::ShowReadout;
    case MouseButton::Right:
        if (onlyCtrl) return PressAction::FileMenuClosingTools;
        if (states.zoom == ZoomState::Band) return PressAction::CancelZoom;
        return PressAction::OptionsMenu;
    case MouseButton::Middle:
        break;
    }
    return PressAction::None;
}

} // namespace nimbrel

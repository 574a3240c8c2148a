#pragma once

#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "options/InputBoxes.h"
#include "system/Message.h"

#include <optional>

namespace nimbrel {

// The commands of the options menu that ask for numbers. Each asks all its boxes before it
// changes anything: Cancel, an empty entry or an entry that is no number leaves the view as it
// was. Those that choose other days scan the new days' range themselves.

struct OptionResult {
    bool redraw = false;            // the chart is to be drawn again
    std::optional<Message> message; // to show; nothing was changed then
};

// 小数点以下桁数指定: the number of decimals, 0 to 4, as decimalsUnit.
OptionResult changeDecimals(ViewState& view, InputBoxes& boxes);
// 日数指定: the number of days shown, ending at the same newest day.
OptionResult changeDaysShown(const PriceSeries& series, ViewState& view, InputBoxes& boxes);
// 期間指定: the days from a start date to an end date.
OptionResult selectPeriod(const PriceSeries& series, ViewState& view, InputBoxes& boxes);
// 刻み値の変更: the step of the price axis. A step whose grid would have more lines than the
// plot has rows of pixels, or one wider than the prices themselves, is refused with the steps
// allowed.
OptionResult changeAxisStep(const PriceSeries& series, ViewState& view, InputBoxes& boxes,
                            int plotRows);
// 最大・最少設定: a price range of the user's own, kept until the next scan. A range the
// logarithmic axis cannot show (a low of 0 or below), or one whose grid at the user's step would
// have more lines than the plot has rows of pixels, is refused with what is allowed.
OptionResult changeAxisRange(const PriceSeries& series, ViewState& view, InputBoxes& boxes,
                             int plotRows);
// 画面縮小: the vertical and horizontal reduction of the drawing, in percent.
OptionResult reduceDrawing(const PriceSeries& series, ViewState& view, InputBoxes& boxes);

} // namespace nimbrel

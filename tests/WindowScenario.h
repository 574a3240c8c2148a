#pragma once

#include <QString>

namespace nimbrel {

// Runs the steps of one scenario through the real main window, on the offscreen platform, from
// an empty settings file: steps apart by ";", each a verb and its words, a text holding blanks
// in double quotes and '' an empty one. Files the steps write live in a folder of the scenario;
// other names are fixtures. A failure names its scenario and its step.
//
//   settings KEY=VALUE ...    written to the settings file before the next start
//   start [WxH] / quit        the program starts (at a size of its own) / ends by 終了
//   open FILE / menu NAME     a file opened / a menu entry by its object name or its caption
//   answer TEXT ...           the next input boxes are answered so (none left: cancelled)
//   key KEYS[*TIMES] [WIDGET] a key, as QKeySequence writes it, on the chart, the main window
//                             ("window") or a tool window
//   type BOX TEXT [held]      typed over a box of the file panel (name or sheet), then Enter
//   choose SHEET              a sheet chosen from the sheet box's list
//   click AT [right] [ctrl] [shift] [double] / move AT
//                             AT: a day, DAY@PRICE, or a widget by its name in the driver
//                             (then a point near its corner)
//   wheel ANGLE [ctrl] [AT]   a wheel turned (120 a notch; up is away from the user)
//   drag AT SLOTS             the middle button takes the days along by SLOTS day slots
//   drop PATH|URL             a file or folder dropped on the window
//   hide WIDGET / shift WINDOW DX DY   a pop-up put away / a window dragged by its title bar
//   wait MS / wait bars COUNT time passes / until the chart has that many bars (5 s at most)
//   write FILE DAYS [TAIL]    a text file of rising days, written beside and renamed over FILE
//   copy FILE NAME            a fixture copied into the scenario's folder under NAME
//   append FILE LINE          a line written at the end of FILE in place, as a logger does
//   put FILE TEXT / remove FILE / rename FROM TO / mkdir FOLDER
//   paper A4|A5 [landscape] / paper cancel   the page setup: PDF files of that paper
//   pdf FILE ...              the names the next PDF questions are given ('' cancels)
//   snapshot                  the chart image is kept for `expect image`
//   expect WHAT VALUE ...     what the user would see (ScenarioExpectations.cpp)
void runScenario(const char* name, const char* steps);

} // namespace nimbrel

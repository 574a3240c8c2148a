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
//   key KEYS [WIDGET]         a key, as QKeySequence writes it, on the chart or a tool window
//   type BOX TEXT             typed over a box of the file panel (name or sheet), then Enter
//   click AT [right] [ctrl] [shift] / move AT   AT: a day, DAY@PRICE, or a tool window's name
//   wheel ANGLE [ctrl] [AT]   a wheel turned (120 a notch; up is away from the user)
//   drag AT SLOTS             the middle button takes the days along by SLOTS day slots
//   drop PATH|URL             a file or folder dropped on the window
//   write FILE DAYS [TAIL]    a text file of rising days written whole beside the chart's file
//   put FILE TEXT / remove FILE / rename FROM TO / mkdir FOLDER
//   paper A4|A5 [landscape] / paper cancel   the page setup: PDF files of that paper
//   pdf FILE ...              the names the next PDF questions are given ('' cancels)
//   snapshot                  the chart image is kept for `expect image`
//   expect WHAT VALUE ...     see WindowScenario.cpp
void runScenario(const char* name, const char* steps);

} // namespace nimbrel

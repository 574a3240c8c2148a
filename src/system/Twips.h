#pragma once

namespace nimbrel {

// The program measures its forms and drawings in twips, 1/1440 inch.
inline constexpr double kTwipsPerPoint = 20;
inline constexpr double kTwipsPerInch = 1440;
// A pixel of a 96 dpi screen, the unit of the window's forms and geometry.
inline constexpr double kTwipsPerPixel = 15;

} // namespace nimbrel

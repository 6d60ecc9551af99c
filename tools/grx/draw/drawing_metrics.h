// The measures of a drawing, in SVG user units (pixels): a monospace font of 12 pixels, whose
// characters are 7.2 wide, so that texts can be measured without a font.
#pragma once

namespace grx::draw {

inline constexpr double kFontSize = 12;
inline constexpr double kSmallFont = 10; // types, run places, comments, values
inline constexpr double kCharWidth = 7.2;
inline constexpr double kPadding = 6;
inline constexpr double kHeaderHeight = 34; // the instance name and the type
inline constexpr double kRowHeight = 16;    // one pin
inline constexpr double kPinGap = 24;       // between the names of an input and an output on one row
inline constexpr double kStub = 10;         // a pin's line outside its box
inline constexpr double kMinBoxWidth = 80;
inline constexpr double kArrow = 8; // the point of a connector
inline constexpr double kMargin = 20;

} // namespace grx::draw

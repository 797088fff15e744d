// Unit conversions of positions, as pure functions. Rectangles are [left bottom width height]
// with the origin at the parent's bottom-left corner. In "pixels" the offsets count from 1
// (the screen is [1 1 W H]); in pixel space used for drawing (0-based) they count from 0.
#pragma once

#include <array>
#include <string>

namespace rt {

enum class Unit { Pixels, Points, Inches, Centimeters, Normalized, Data };

// Canonical lower-case name ("pixels", "points", "inches", "centimeters", "normalized", "data").
const char* unitName(Unit u);
// Parses a canonical name as stored by the property system; rt::Error for anything else.
Unit unitFromName(const std::string& canonical);

// A rectangle [left bottom width height].
using Rect = std::array<double, 4>;

// A length (width, height, font size) in unit u to pixels and back. Normalized lengths are
// relative to `parentLength`; Data is not a length unit here (rt::Error).
double lengthToPixels(double v, Unit u, double parentLength, double pixelsPerInch);
double lengthFromPixels(double px, Unit u, double parentLength, double pixelsPerInch);

// A rectangle in unit u to 0-based pixels relative to a parent of parentW x parentH pixels,
// and back. Data is handled by the caller (it needs the axes' limits).
Rect rectToPixels(const Rect& r, Unit u, double parentW, double parentH, double pixelsPerInch);
Rect rectFromPixels(const Rect& px, Unit u, double parentW, double parentH, double pixelsPerInch);

// Paper: lengths in inches, centimeters, points or normalized (relative to the paper size,
// itself given in inches).
double paperToInches(double v, Unit u, double paperLengthInches);
double paperFromInches(double inches, Unit u, double paperLengthInches);
// Paper width and height in inches for a PaperType and PaperOrientation.
std::array<double, 2> paperSizeInches(const std::string& type, const std::string& orientation);

}  // namespace rt

// Shared steps of the high-level plotting operations (plot, fill, text, image).
#pragma once

#include <string>

#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace rt {

// The axes the pairs name as 'Parent', else gca().
Handle targetAxes(const Values& pairs);

// With hold off (figure or axes NextPlot not "add"), empties the axes before new data:
// removes its visible children and returns limits, ticks, directions and aspect to automatic.
// The axes keeps its Tag, Position, Units and labels, which the callers rely on.
void prepareForPlot(Handle axes);

// Line specs: colour letter, line style ("-" "--" ":" "-."), marker. Empty fields: not given.
struct LineSpec {
    std::string color, lineStyle, marker;
};
bool parseLineSpec(const std::string& text, LineSpec& out);

// Splits args into the leading data values and the trailing name/value pairs: the first text
// argument starts the pairs.
void splitDataAndPairs(const Values& args, Values& data, Values& pairs);

}  // namespace rt

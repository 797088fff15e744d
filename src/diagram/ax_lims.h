// Limits, grids, labels and the right-hand scale of a diagram window's axes.
#pragma once

#include <string>

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace diagram {

// The visible curves of a diagram axes without marker lines: their handles (a column,
// newest first) and their XData/YData (the value itself for one curve, a column cell for
// several, [] for none).
struct AxLims {
    rt::Value xx, yy, diags;
};

// Sets the limits of `ad` from its visible lines (y always down to 0; the upper y limit
// 1.05 times the largest y when two or more lines show), grids, minor y ticks and frame. For
// `ly` == 2 draws the right-hand scale of the half-scale curves ("-" and twice the left
// tick, bold, Tag "YTicks2" + `figname`) and labels both axes from the two halves of
// `var_y` split at its first "/"; otherwise `var_y` is the y label. Without visible lines
// the limits, scale and labels stay. Last, the "NOT FOR SALE" text moves into the current
// axes (gca). rt::Error when the limits would be empty (one whole-numbered point) or gca
// has fewer than two ticks.
AxLims ax_lims(rt::Handle ad, int ly, const std::u16string& figname, const std::u16string& var_y);

// "ax_lims": (ad, ly, figname, var_y) in, (xx, yy, diags) out.
void register_ax_lims(rt::FunctionTable& table);

}  // namespace diagram

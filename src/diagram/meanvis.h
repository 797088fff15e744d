// The mean button of a diagram window: the ticked runs averaged into a run of their own.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"

namespace diagram {

// Averages the visible curves of window `fig` over the ticked runs on their common x grid
// (from the latest start to the earliest end, in steps of the finest mean spacing) and adds
// the mean as a run through plot_diag with the comment and identity the text table's mean
// word ends (a mean of the same runs again only shows and ticks the earlier mean). With
// exactly three visible lines per ticked run, the runs are taken as power with torque and the
// torque is averaged at full value. Fewer than two ticked runs: nothing. Runs that share no
// x range: an error dialog, no new run. `vx`, `vy`, `k` are the window's quantities and the
// factor its mean button carries.
void meanvis(rt::Handle fig, int vx, int vy, double k);

// "meanvis": [fig vx vy k] in, nothing out.
void register_meanvis(rt::FunctionTable& table);

}  // namespace diagram

// The callback of a run's colour button: a new colour for the run.
#pragma once

#include <string>

#include "runtime/dispatch/function_table.h"

namespace diagram {

// Opens the colour chooser seeded with the colour of the button tagged "PushColor" + `run`
// (`run` = figname + data_tag); the chosen colour goes to the button, the main curve
// ("Diag" + `run`) and the half-scale curve with its dots ("2Diag" + `run`). Cancelling, or a
// run whose window is gone, changes nothing.
void ch_color(const std::u16string& run);

// "ch_color": figname + data_tag in, nothing out.
void register_ch_color(rt::FunctionTable& table);

}  // namespace diagram

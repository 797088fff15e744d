#pragma once

#include "runtime/dispatch/function_table.h"

namespace shell {

// The colour chooser, preset with the colour button's BackgroundColor; the choice becomes
// the button's BackgroundColor (the colour of the next run). Cancelling changes nothing.
void set_sdiag_color();

void register_set_sdiag_color(rt::FunctionTable& table);

}  // namespace shell

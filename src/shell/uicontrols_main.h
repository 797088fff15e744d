#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"

namespace shell {

// Builds the main window's 58 controls on `fig` in their stacking order. Expects the root
// default for control units to be normalized already.
void uicontrols_main(rt::Handle fig);

void register_uicontrols_main(rt::FunctionTable& table);

}  // namespace shell

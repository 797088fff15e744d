// One position of an eraser stroke: the pointer's place in the editor axes joins the trail.
#pragma once

#include "runtime/dispatch/function_table.h"

namespace editor {

// Appends the editor axes' CurrentPoint to the trail (Tag "TempPlot") and makes the release
// run "erase_stop". Does nothing when no editor window with a trail is open.
void erase();

void register_erase(rt::FunctionTable& table);

}  // namespace editor

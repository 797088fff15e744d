// Switches the erase window into erase mode: the eraser cursor, the mouse callbacks and the
// stroke trail. Erase mode lasts until the window is closed.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/value/value.h"

namespace editor {

// The 16 x 16 eraser cursor: 2 (white) on the border and on both diagonals of rows 3 to 14,
// NaN (transparent) elsewhere; 84 white cells.
rt::Value eraser_cursor();

// Turns zoom off and installs cursor, WindowButtonDownFcn, WindowButtonUpFcn and the trail
// (Tag "TempPlot", seed NaN) on the editor window of the current text table. Does nothing
// when no editor window is open.
void togeraser();

void register_togeraser(rt::FunctionTable& table);

}  // namespace editor

// The axes grid: one cell of an m-by-n grid of the current figure.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"

namespace rt {

// Where cell p of an nrows x ncols grid lies in a figure whose default axes position is
// `defaultPosition` (normalized): cells are counted along rows from the top left, the grid
// keeps margins around each cell, and a cell too narrow or too low for them takes 70 % of
// its share instead.
Rect subplotPosition(int nrows, int ncols, int cell, const Rect& defaultPosition);

// subplot(mnp) or subplot(m, n, p) on the current figure (created when there is none):
// axes of the figure that overlap the cell are deleted, except that the first one found at
// the cell's very position is kept; without one a new axes is made there. The cell's axes
// becomes the current axes and is returned. rt::Error "Index exceeds number of subplots."
// when p > m·n, "Illegal plot number." when p < 1.
Handle subplot(const Values& args);

// "subplot": up to 4 inputs, the axes handle out.
void register_subplot(FunctionTable& table);

}  // namespace rt

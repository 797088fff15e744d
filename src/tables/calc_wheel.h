#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Rolling circumference in m of a tire of width `tw` mm, aspect ratio `ar` % and rim
// diameter `ws` inches.
double tire_circumference(double tw, double ar, double ws);

// Reads the calculator's three fields (a decimal comma counts as a point) and writes the
// circumference into the main window's wheel_perim in the default number format. A field
// that holds no single number is reported in an error dialog naming it; wheel_perim then
// stays as it was.
void calc_wheel();

void register_calc_wheel(rt::FunctionTable& table);

}  // namespace tables

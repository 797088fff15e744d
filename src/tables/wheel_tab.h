#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Opens the tire table window, or rebuilds it in place, with row vvv of the sorted list selected.
void wheel_tab(double vvv = 1);

void register_wheel_tab(rt::FunctionTable& table);

}  // namespace tables

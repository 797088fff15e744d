#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Opens the gear table window, or rebuilds it in place, with row vvv of the sorted list selected.
void gearing_tab(double vvv = 1);

void register_gearing_tab(rt::FunctionTable& table);

}  // namespace tables

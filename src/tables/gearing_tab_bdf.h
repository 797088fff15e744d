#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Accept: the selected entry's number into the main window's field, the entry into the four fields.
void gearing_tab_bdf();

void register_gearing_tab_bdf(rt::FunctionTable& table);

}  // namespace tables

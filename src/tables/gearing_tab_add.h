#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Add: asks, then adds the four fields as a new entry of the gear table.
void gearing_tab_add();

void register_gearing_tab_add(rt::FunctionTable& table);

}  // namespace tables

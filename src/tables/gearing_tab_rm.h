#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Remove: asks, then removes the selected entry from the gear table.
void gearing_tab_rm();

void register_gearing_tab_rm(rt::FunctionTable& table);

}  // namespace tables

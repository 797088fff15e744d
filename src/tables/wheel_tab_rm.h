#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Remove: asks, then removes the selected entry from the tire table.
void wheel_tab_rm();

void register_wheel_tab_rm(rt::FunctionTable& table);

}  // namespace tables

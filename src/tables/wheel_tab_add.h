#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Add: asks, then adds the four fields as a new entry of the tire table.
void wheel_tab_add();

void register_wheel_tab_add(rt::FunctionTable& table);

}  // namespace tables

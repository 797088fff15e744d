#pragma once

#include "runtime/dispatch/function_table.h"

namespace tables {

// Opens the tire-circumference calculator as a strip across the upper part of the main
// window, or makes the open one current without touching its fields.
void wheel();

void register_wheel(rt::FunctionTable& table);

}  // namespace tables

#pragma once

#include "runtime/dispatch/function_table.h"

namespace apps {

// rovantel's table of functions callable by name, in the program's order.
rt::FunctionTable rovantel_function_table();

}  // namespace apps

#pragma once

#include "runtime/dispatch/function_table.h"

namespace shell {

// Keeps the channel choice consistent: installs the channel-2 list for channel 1's type,
// keeps the channel-2 entry by the code sum of its first five characters where the new list
// holds it (else the type's default row), and shows the drum fields only with a drum.
void adj_par();

void register_adj_par(rt::FunctionTable& table);

}  // namespace shell

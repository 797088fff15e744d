#pragma once

#include "runtime/dispatch/function_table.h"

namespace shell {

// Asks for a file name and writes the 25 parameter-file variables to it (".cfg" appended
// to a name without "."). Cancelling does nothing; a field that is no number ends the save
// (after get_par's dialog) before the file is touched.
void save_par();

void register_save_par(rt::FunctionTable& table);

}  // namespace shell

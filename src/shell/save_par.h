#pragma once

#include "runtime/dispatch/function_table.h"

namespace shell {

// Asks for a file name and writes the 25 parameter-file variables to it (".cfg" appended
// to a name without "."). Cancelling does nothing; a field that is no number ends the save
// (after get_par's dialog) before the file is touched. A refused or failed save (a name that
// gives a folder, a read-only file, a full disk) shows an error dialog (save_or_report) and
// leaves an old file whole.
void save_par();

void register_save_par(rt::FunctionTable& table);

}  // namespace shell

#pragma once

#include "runtime/dispatch/function_table.h"

namespace shell {

// Lets the user choose the recording; the dialog opens in the folder of the current one.
// The working folder is the same afterwards in every case.
void get_wav_filename();
// The same for a control tagged "out_file" with the save dialog (no window has one).
void get_out_filename();

void register_get_wav_filename(rt::FunctionTable& table);
void register_get_out_filename(rt::FunctionTable& table);

}  // namespace shell

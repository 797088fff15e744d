#pragma once

#include "runtime/dispatch/function_table.h"

namespace porttime {

// The "..." button beside the print file name: a save dialog that opens in the folder the
// PrintFile field names (when it has a folder part that exists), whose answer becomes the
// field's text; cancelling changes nothing. The working folder is as before afterwards.
void get_pdf_file();

// "get_pdf_file": no inputs, no outputs.
void register_get_pdf_file(rt::FunctionTable& table);

}  // namespace porttime

// Whether a path names a folder.
#pragma once

#include <string>

#include "runtime/dispatch/function_table.h"

namespace sig {

// True when `dirpath` (relative to the working folder, or absolute) is an existing folder;
// false for a file, a missing path and the empty text. Never throws.
bool isdir(const std::string& dirpath);

// "isdir": one text in, 1 or 0 out (a double). A missing input stops with the run-time's
// "Not enough input arguments."; a non-text input stops with the value's conversion error.
void register_isdir(rt::FunctionTable& t);

}  // namespace sig

#pragma once

#include "runtime/dispatch/function_table.h"

namespace shell {

// Deletes the result cache (the children of the axes tagged "Saved Data") and raises the
// cache generation (the main window's UserData) by 1, even when the cache was empty.
void clear_cache();

void register_clear_cache(rt::FunctionTable& table);

}  // namespace shell

#pragma once

#include "runtime/dispatch/function_table.h"

namespace shell {

inline constexpr const char* kVersionTitle = "Rovantel V0.1.18";
inline constexpr const char* kStartFile = "rovantel_start.cfg";

// The entry: root defaults, the main window with its controls, the hidden result-cache axes,
// the channel lists, and the start parameter file when the working folder has one.
void rovantel();

void register_rovantel(rt::FunctionTable& table);

}  // namespace shell

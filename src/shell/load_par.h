#pragma once

#include <optional>
#include <string>

#include "runtime/dispatch/function_table.h"

namespace shell {

// Without a file: asks for one (cancelling does nothing). Reads the 25 variables and puts
// them into the panel in the fixed order, running adj_par between the two channel popups.
// A file that is not a variable file, or lacks a variable, is an rt::Error and leaves the
// panel unchanged.
void load_par(const std::optional<std::string>& file = std::nullopt);

void register_load_par(rt::FunctionTable& table);

}  // namespace shell

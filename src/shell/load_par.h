#pragma once

#include <optional>
#include <string>

#include "runtime/dispatch/function_table.h"

namespace shell {

// Without a file: asks for one (cancelling does nothing). Reads the 25 variables and puts
// them into the panel in the fixed order, running adj_par between the two channel popups.
// rt::Error in the build's language, the panel left unchanged, for a file that cannot be read
// as a variable file (st.par_unreadable, then the reason), lacks a variable (st.par_no_var)
// or holds one its field cannot take (st.par_bad_value): a number field anything but numbers,
// a box anything but 0 or 1, a popup a row outside its list, a text field anything but one
// line of text.
void load_par(const std::optional<std::string>& file = std::nullopt);

void register_load_par(rt::FunctionTable& table);

}  // namespace shell

// The callback of a run's checkbox: hides or shows the run's curves.
#pragma once

#include <string>

#include "runtime/dispatch/function_table.h"

namespace diagram {

// The objects tagged `tag` ("Diag" + figname + data_tag) turn invisible when all of them are
// visible, else visible; the same, on their own, for the objects tagged "2" + `tag` (the
// half-scale curve and its dots). A tag that no object carries changes nothing.
void toggle_vis(const std::u16string& tag);

// "toggle_vis": the Tag in, nothing out.
void register_toggle_vis(rt::FunctionTable& table);

}  // namespace diagram

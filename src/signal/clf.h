// Empties the current figure.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace sig {

// clf(options...): removes the current figure's children through rt::clo (options passed on,
// e.g. "hidden"), redraws, and returns that figure, which stays open. Creates a figure when
// there is none. Throws the model's error for an option it does not know.
rt::Handle clf(const rt::Values& options = {});

// "clf": any inputs; the figure out only when asked for.
void register_clf(rt::FunctionTable& t);

}  // namespace sig

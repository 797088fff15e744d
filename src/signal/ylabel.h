// The y-axis label of the current axes.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace sig {

// ylabel(text, name, value, ...): the y-axis label of gca in the axes' font, then the
// pairs. Returns the label's text handle. Errors as sig::setLabel (signal/label_family.h).
rt::Handle ylabel(const rt::Value& text, const rt::Values& pairs = {});

// "ylabel": text and pairs in, the handle out only when asked for.
void register_ylabel(rt::FunctionTable& t);

}  // namespace sig

// The x-axis label of the current axes.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace sig {

// xlabel(text, name, value, ...): the x-axis label of gca in the axes' font, then the
// pairs. Returns the label's text handle. Errors as sig::setLabel (signal/label_family.h).
rt::Handle xlabel(const rt::Value& text, const rt::Values& pairs = {});

// "xlabel": text and pairs in, the handle out only when asked for.
void register_xlabel(rt::FunctionTable& t);

}  // namespace sig

// The title of the current axes.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace sig {

// title(text, name, value, ...): the title of gca in the axes' font, not rotated, then the
// pairs. Returns the label's text handle. Errors as sig::setLabel (signal/label_family.h).
rt::Handle title(const rt::Value& text, const rt::Values& pairs = {});

// "title": text and pairs in, the handle out only when asked for.
void register_title(rt::FunctionTable& t);

}  // namespace sig

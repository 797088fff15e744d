#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/value/value.h"

namespace shell {

// The current axes' title in bold at `font_size` points (12 when not given).
void tit(const rt::Value& text, double font_size = 12);

void register_tit(rt::FunctionTable& table);

}  // namespace shell

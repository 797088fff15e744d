// kelvora's entry: the input window with the cylinder and port fields and the port sketch.
#pragma once

#include "runtime/dispatch/function_table.h"

namespace porttime {

// The port sketch, read from the working folder at start.
inline constexpr const char* kSketchFile = "auslassmassen.png";

// Closes every figure, then builds the input window "Kelvora" (Tag "Main Figure") with its
// fields, the print-file chooser and CALCULATE, and shows the sketch in its right half. A
// sketch that cannot be read stops with imread's message; the window is built by then.
void kelvora();

// "kelvora": no inputs, no outputs.
void register_kelvora(rt::FunctionTable& table);

// kelvora's table of functions callable by name, in the program's order.
rt::FunctionTable kelvora_function_table();

}  // namespace porttime

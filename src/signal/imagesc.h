// A matrix shown as an image whose colours span a range (the data's by default).
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace sig {

// imagesc(), imagesc(C), imagesc(x, y, C), each optionally followed by name-value pairs and,
// last, a colour range [low high]: rt::image with CDataMapping "scaled" into gca. A trailing
// 1 x 2 value is taken as the range only when no input is a text or the inputs from the
// first text on are odd in number (so the value of a trailing pair stays that value).
// With a range the axes' CLim is set to it; without, CLimMode becomes "auto" unless hold is
// on. Returns the image handle. Throws the model's error for bad data or pairs, and for a
// range that is not increasing.
rt::Handle imagesc(const rt::Values& args = {});

// "imagesc": any inputs; the image handle out only when asked for.
void register_imagesc(rt::FunctionTable& t);

}  // namespace sig

// Reading and writing the main window's controls by Tag: the panel is the program's state.
#pragma once

#include <string>

#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace shell {

// Every object tagged `tag`, as findobj('Tag', tag) gives it (newest first; [] when none).
rt::Value tagged(const std::u16string& tag);
rt::Value tagged(const std::string& tag);

// get(findobj('Tag', tag), name) and set(findobj('Tag', tag), name, value).
rt::Value get_tagged(const std::string& tag, const std::string& name);
void set_tagged(const std::string& tag, const std::string& name, const rt::Value& value);

// The String of the control tagged `tag` as one text (rows joined), "" when there is none.
std::u16string string_of(const std::string& tag);
// The Value of the control tagged `tag` (its first element); rt::Error when there is none.
double value_of(const std::string& tag);

}  // namespace shell

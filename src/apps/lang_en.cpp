// This build speaks English.
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return english_table(); }
const char* build_language() { return "en"; }
}  // namespace shell

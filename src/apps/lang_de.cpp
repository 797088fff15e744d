// This build speaks German.
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return german_table(); }
const char* build_language() { return "de"; }
}  // namespace shell

// This build speaks French.
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return french_table(); }
const char* build_language() { return "fr"; }
}  // namespace shell

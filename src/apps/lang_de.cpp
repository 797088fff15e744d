// This build speaks German.
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return german_table(); }
}  // namespace shell

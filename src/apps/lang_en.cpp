// This build speaks English.
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return english_table(); }
}  // namespace shell

// This build speaks French.
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return french_table(); }
}  // namespace shell

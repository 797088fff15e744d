// The evaluation's functions are tested with the German build's texts.
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return german_table(); }
}  // namespace shell

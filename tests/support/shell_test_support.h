// Tests choose the language of text_table() at run time.
#pragma once

#include "shell/strings.h"

namespace shell_test {
void use_table(const shell::Strings& table);
}

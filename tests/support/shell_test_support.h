// Tests choose the language of text_table() at run time.
#pragma once

#include "shell/strings.h"

namespace shell_test {
void use_table(const shell::Strings& table);

// The text tables of the three builds.
struct Build {
    const char* name;
    const shell::Strings& (*table)();
};
inline const Build kBuilds[] = {
    {"de", shell::german_table}, {"fr", shell::french_table}, {"en", shell::english_table}};
}  // namespace shell_test

#include "support/shell_test_support.h"

namespace {
const shell::Strings* current = nullptr;
}

namespace shell_test {
void use_table(const shell::Strings& table) { current = &table; }
}  // namespace shell_test

namespace shell {
const Strings& text_table() { return current ? *current : german_table(); }
}  // namespace shell

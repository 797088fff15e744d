// The editors are opened by the evaluation from the main window: their tests play it with
// the shell's fixture.
#include "shell/shell_fixture.cpp"
#include "shell/shell_test_support.cpp"

// Runs reach the diagram from the main window: the tests play it with the shell's fixture.
#include "shell/shell_fixture.cpp"
#include "shell/shell_test_support.cpp"

// The process entry of rovantel; the build's language comes from the lang_*.cpp linked in.
#include "apps/rovantel_function_table.h"
#include "qt/start.h"
#include "shell/prepare_evaluations.h"
#include "shell/strings.h"

int main(int argc, char** argv) {
    shell::prepare_evaluations();
    const rt::FunctionTable table = apps::rovantel_function_table();
    const rt::FunctionEntry* entry = table.find("rovantel");
    return rt::start(argc, argv, entry->fn, table, {shell::build_language()});
}

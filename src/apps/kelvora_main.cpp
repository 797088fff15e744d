// The process entry of kelvora.
#include "porttime/kelvora.h"
#include "qt/start.h"

int main(int argc, char** argv) {
    const rt::FunctionTable table = porttime::kelvora_function_table();
    const rt::FunctionEntry* entry = table.find("kelvora");
    return rt::start(argc, argv, entry->fn, table);
}

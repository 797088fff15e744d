// The variable-file loader on arbitrary bytes: it may refuse them, never crash or overread.
#include "runtime/fileio/varfile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/dispatch/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto vars = rt::decodeVariables(data, size, "fuzz");
        // Whatever loads must save, and load again to the same variables.
        const std::vector<std::uint8_t> again = rt::encodeVariables(vars);
        if (rt::encodeVariables(rt::decodeVariables(again.data(), again.size(), "again")) != again)
            __builtin_trap();
    } catch (const rt::Error&) {
    }
    return 0;
}

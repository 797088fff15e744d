// libFuzzer target: the WAV reader on arbitrary bytes must fail only with rt::Error,
// never crash, hang, leak or leave its file open.
#include "signal/wavread.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/fileio/file_io.h"
#include "runtime/value/value.h"

namespace {

const std::string& scratch() {
    static const std::string path = [] {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(dir) + "/fuzz_wavread_" + std::to_string(getpid()) + ".wav";
    }();
    return path;
}

void checkClosed() {
    if (rt::isOpen(3)) {
        std::fprintf(stderr, "wavread left a file open\n");
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (FILE* f = std::fopen(scratch().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    static rt::FunctionTable table = [] {
        rt::FunctionTable t;
        sig::register_wavread(t);
        return t;
    }();
    try {
        // By name with every output, so the records are built as values too.
        rt::Values out = table.call("wavread", {rt::Value(scratch())}, 4);
        // A readable file also answers the size request and a partial read.
        sig::WavReadResult size = sig::wavread(scratch(), sig::wavExtent({0}));
        if (size.y && size.y->size() == 2 && (*size.y)(0, 0) >= 2)
            sig::wavread(scratch(), sig::wavExtent({2, (*size.y)(0, 0)}));
    } catch (const rt::Error&) {
    }
    checkClosed();
    return 0;
}

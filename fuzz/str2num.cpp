// str2num must never throw or crash, whatever the text; a result must be a real double.
#include "runtime/value/str2num.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/value/num2str.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const rt::Value v = rt::str2num(text);
    if (!v.isDouble() || v.isComplex()) std::abort();
    if (!v.isEmpty() && v.numel() != v.rows() * v.cols()) std::abort();
    // Whatever came back must print and read back to the same shape.
    if (!v.isEmpty() && v.numel() < 64) {
        const rt::Value back = rt::str2num(rt::num2str(v));
        if (back.rows() != v.rows() || back.cols() != v.cols()) std::abort();
    }
    return 0;
}

// Feeds arbitrary bytes to the callback interpreter: it may refuse them with rt::Error,
// nothing else.
#include "runtime/dispatch/callback.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/dispatch/error.h"

namespace {

rt::Values echo(const rt::Values& in, int nargout) {
    rt::Values out;
    for (int i = 0; i < nargout && i < static_cast<int>(in.size()); ++i) out.push_back(in[i]);
    return out;
}

const rt::CallbackInterpreter& interpreter() {
    static rt::FunctionTable program = [] {
        rt::FunctionTable t;
        t.add("ax_lims", 4, 3, echo);
        t.add("meanvis", 1, 0, echo);
        t.add("save_wav_era", 3, 0, echo);
        t.add("upfirdn", -1, -1, echo);
        t.add("title", -2, 1, echo);
        t.add("get_par", 0, 24, echo);
        t.add("calc_diag", 0, 0, echo);
        t.add("fail", -1, 0, [](const rt::Values&, int) -> rt::Values {
            rt::error("stand-in failure");
            return {};
        });
        return t;
    }();
    static rt::FunctionTable builtins = [] {
        rt::FunctionTable t;
        t.add("set", -1, 0, echo);
        t.add("close", -1, 1, echo);
        t.add("findobj", -1, 1, [](const rt::Values& in, int) {
            return rt::Values{in.empty() ? rt::Value() : rt::Value::column({3.0, 4.0})};
        });
        return t;
    }();
    static rt::CallbackInterpreter interp(program, &builtins);
    return interp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        interpreter().eval(text);
    } catch (const rt::Error&) {
    }
    return 0;
}

#include "shell/tit.h"

#include "runtime/dispatch/error.h"
#include "signal/title.h"

namespace shell {

void tit(const rt::Value& text, double font_size) {
    sig::title(text, {rt::Value("fontsize"), rt::Value(font_size), rt::Value("fontweight"),
                      rt::Value("bold")});
}

void register_tit(rt::FunctionTable& table) {
    table.add("tit", 2, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        tit(in[0], in.size() > 1 ? in[1].scalar() : 12.0);
        return rt::Values{};
    });
}

}  // namespace shell

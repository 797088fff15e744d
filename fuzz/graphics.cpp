// Drives the graphics model through callback texts built from arbitrary bytes: creation,
// set/get, findobj, delete and close may refuse with rt::Error, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace {

rt::Values handle(rt::Handle h) { return {rt::Value(h)}; }

const rt::CallbackInterpreter& interpreter() {
    static rt::FunctionTable program = [] {
        rt::FunctionTable t;
        t.add("figure", -1, 1, [](const rt::Values& in, int) { return handle(rt::figure(in)); });
        t.add("axes", -1, 1, [](const rt::Values& in, int) { return handle(rt::axes(in)); });
        t.add("uicontrol", -1, 1,
              [](const rt::Values& in, int) { return handle(rt::uicontrol(in)); });
        t.add("plot", -1, 1, [](const rt::Values& in, int) {
            const auto h = rt::plot(in);
            return rt::Values{rt::Value::column(h)};
        });
        t.add("line", -1, 1, [](const rt::Values& in, int) { return handle(rt::line(in)); });
        t.add("text", -1, 1, [](const rt::Values& in, int) { return handle(rt::text(in)); });
        t.add("image", -1, 1, [](const rt::Values& in, int) { return handle(rt::image(in)); });
        t.add("fill", -1, 1, [](const rt::Values& in, int) { return handle(rt::fill(in)); });
        t.add("gca", 0, 1, [](const rt::Values&, int) { return handle(rt::gca()); });
        t.add("gcf", 0, 1, [](const rt::Values&, int) { return handle(rt::gcf()); });
        t.add("hold", 1, 0, [](const rt::Values& in, int) {
            rt::hold(!in.empty() && in[0].isChar() ? in[0].text() : "");
            return rt::Values{};
        });
        t.add("axis", -1, 0, [](const rt::Values& in, int) {
            rt::axis(in);
            return rt::Values{};
        });
        t.add("allchild", 1, 1, [](const rt::Values& in, int) {
            return rt::Values{rt::allchild(in.empty() ? rt::Value(0.0) : in[0])};
        });
        return t;
    }();
    static rt::FunctionTable builtins = [] {
        rt::FunctionTable t;
        rt::register_graphics_builtins(t);
        return t;
    }();
    static rt::CallbackInterpreter i(program, &builtins);
    return i;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rt::graphics().reset();
    rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
    try {
        interpreter().eval(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const rt::Error&) {
    }
    return 0;
}

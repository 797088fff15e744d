#include "diagram/ch_color.h"

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/host.h"
#include "runtime/value/eigen.h"

namespace diagram {

void ch_color(const std::u16string& run) {
    using rt::Value;
    const Value button = rt::findobj({Value("Tag"), Value(u"PushColor" + run)});
    if (button.isEmpty()) return;
    const std::vector<double> now = rt::toVector(rt::get(Value(button.at(0)), "BackgroundColor"));
    rt::Rgb seed{0, 0, 0};
    for (std::size_t i = 0; i < 3 && i < now.size(); ++i) seed[i] = now[i];
    const auto chosen = rt::uisetcolor(seed);
    if (!chosen) return;
    const Value colour = Value::row({(*chosen)[0], (*chosen)[1], (*chosen)[2]});
    rt::setProps(button, {{"BackgroundColor", colour}});
    for (const char16_t* prefix : {u"Diag", u"2Diag"})
        rt::setProps(rt::findobj({"Tag", prefix + run}), {{"Color", colour}});
}

void register_ch_color(rt::FunctionTable& table) {
    table.add("ch_color", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        if (!in[0].isChar()) rt::error("ch_color: the Tag must be a text.");
        ch_color(in[0].text16());
        return rt::Values{};
    });
}

}  // namespace diagram

#include "diagram/toggle_vis.h"

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace diagram {

namespace {

void toggle(const std::u16string& tag) {
    rt::Graphics& g = rt::graphics();
    const rt::Value objects = rt::findobj({rt::Value("Tag"), rt::Value(tag)});
    if (objects.isEmpty()) return;
    bool all_on = true;
    for (double h : objects.real()) all_on = all_on && g.get(h, "Visible").text() == "on";
    rt::set(objects, {rt::Value("Visible"), rt::Value(all_on ? "off" : "on")});
}

}  // namespace

void toggle_vis(const std::u16string& tag) {
    toggle(tag);
    toggle(u"2" + tag);
}

void register_toggle_vis(rt::FunctionTable& table) {
    table.add("toggle_vis", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        if (!in[0].isChar()) rt::error("toggle_vis: the Tag must be a text.");
        toggle_vis(in[0].text16());
        return rt::Values{};
    });
}

}  // namespace diagram

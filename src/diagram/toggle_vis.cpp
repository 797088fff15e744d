#include "diagram/toggle_vis.h"

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"

namespace diagram {

namespace {

void toggle(const std::u16string& tag) {
    const rt::Value objects = rt::findobj({"Tag", tag});
    if (objects.isEmpty()) return;
    bool all_on = true;
    for (double h : objects.real()) all_on = all_on && rt::get(h, "Visible").text() == "on";
    rt::setProps(objects, {{"Visible", all_on ? "off" : "on"}});
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

#include "editor/erase.h"

#include "editor/editor_window.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "shell/strings.h"

namespace editor {

void erase() {
    const shell::Strings& st = shell::text_table();
    const rt::Handle fig = editor_window(st.cut_File);
    const rt::Handle ax = editor_axes(st.cut_File);
    const auto trail = rt::graphics().withTag(u"TempPlot");
    if (fig == 0 || ax == 0 || trail.empty()) return;
    const rt::Value line(trail.front());
    std::vector<double> x = rt::get(line, "XData").real();
    std::vector<double> y = rt::get(line, "YData").real();
    const rt::Value point = rt::get(rt::Value(ax), "CurrentPoint");
    x.push_back(point.at(0));
    y.push_back(point.at(point.rows()));
    rt::setProps(
        line, {{"XData", rt::Value::row(std::move(x))}, {"YData", rt::Value::row(std::move(y))}});
    rt::setProps(rt::Value(fig), {{"WindowButtonUpFcn", "erase_stop"}});
}

void register_erase(rt::FunctionTable& table) {
    table.add("erase", 0, 0, [](const rt::Values&, int) {
        erase();
        return rt::Values{};
    });
}

}  // namespace editor

#include "editor/togeraser.h"

#include <limits>

#include "editor/editor_window.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/graphics/zoom.h"
#include "runtime/value/num2str.h"
#include "shell/strings.h"

namespace editor {

rt::Value eraser_cursor() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> cells(16 * 16, nan);
    auto white = [&](int r, int c) { cells[static_cast<std::size_t>((c - 1) * 16 + (r - 1))] = 2; };
    for (int k = 1; k <= 16; ++k) {
        white(1, k);
        white(16, k);
        white(k, 1);
        white(k, 16);
    }
    for (int r = 3; r <= 14; ++r) {
        white(r, r);
        white(r, 17 - r);
    }
    return rt::Value::matrix(16, 16, std::move(cells));
}

void togeraser() {
    const shell::Strings& st = shell::text_table();
    const rt::Handle fig = editor_window(st.cut_File);
    if (fig == 0) return;
    rt::zoom({rt::Value(fig), rt::Value("off")});
    const std::string n = rt::num2str(fig);
    rt::setProps(rt::Value(fig),
                 {{"PointerShapeCData", eraser_cursor()},
                  {"Pointer", "custom"},
                  {"PointerShapeHotSpot", {8, 8}},
                  {"WindowButtonDownFcn", "erase,set(" + n + ",'WindowButtonMotionFcn', 'erase')"},
                  {"WindowButtonUpFcn", "set(" + n + ",'WindowButtonMotionFcn', '')"}});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    rt::makeLine(editor_axes(st.cut_File), {{"XData", nan},
                                            {"YData", nan},
                                            {"Tag", "TempPlot"},
                                            {"MarkerSize", 16},
                                            {"MarkerFaceColor", {0, 0, 0.5}},
                                            {"MarkerEdgeColor", {0, 0, 0.5}},
                                            {"Marker", "s"},
                                            {"LineStyle", "none"},
                                            {"EraseMode", "none"}});
}

void register_togeraser(rt::FunctionTable& table) {
    table.add("togeraser", 0, 0, [](const rt::Values&, int) {
        togeraser();
        return rt::Values{};
    });
}

}  // namespace editor

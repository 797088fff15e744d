#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

void hold(const std::string& mode) {
    Graphics& g = graphics();
    const Handle ax = gca();
    const Handle fig = g.parent(ax);
    std::string m = lowerAscii(mode);
    if (m.empty()) m = ishold() ? "off" : "on";
    if (m == "on") {
        g.set(fig, "NextPlot", Value("add"));
        g.set(ax, "NextPlot", Value("add"));
    } else if (m == "off") {
        g.set(ax, "NextPlot", Value("replace"));
    } else {
        throw Error("hold: use 'on' or 'off'.");
    }
}

bool ishold() {
    Graphics& g = graphics();
    const Handle fig = g.currentFigure();
    if (fig == 0) return false;
    const Handle ax = g.currentAxes(fig);
    if (ax == 0) return false;
    return g.get(fig, "NextPlot").text() == "add" && g.get(ax, "NextPlot").text() == "add";
}

bool isappdata(Handle h, const std::string& name) { return graphics().isAppData(h, name); }

}  // namespace rt

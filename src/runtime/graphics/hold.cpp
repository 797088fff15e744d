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

}  // namespace rt

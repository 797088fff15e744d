#include "runtime/graphics/operations.h"

namespace rt {

bool ishold() {
    Graphics& g = graphics();
    const Handle fig = g.currentFigure();
    if (fig == 0) return false;
    const Handle ax = g.currentAxes(fig);
    if (ax == 0) return false;
    return g.get(fig, "NextPlot").text() == "add" && g.get(ax, "NextPlot").text() == "add";
}

}  // namespace rt

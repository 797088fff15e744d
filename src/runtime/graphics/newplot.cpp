#include "runtime/graphics/operations.h"
#include "runtime/graphics/plot_support.h"

namespace rt {

Handle newplot() {
    const Handle ax = gca();
    prepareForPlot(ax);
    return ax;
}

}  // namespace rt

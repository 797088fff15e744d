#include "runtime/graphics/operations.h"

namespace rt {

Handle gcf() {
    Graphics& g = graphics();
    const Handle f = g.currentFigure();
    return f != 0 ? f : figure();
}

}  // namespace rt

#include "runtime/graphics/operations.h"

namespace rt {

Handle gca() {
    Graphics& g = graphics();
    const Handle f = gcf();
    const Handle a = g.currentAxes(f);
    return a != 0 ? a : g.create(ObjectType::Axes, f, {});
}

}  // namespace rt

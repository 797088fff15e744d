#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

Handle figure(const Values& args) {
    Graphics& g = graphics();
    if (!args.empty() && !args[0].isChar()) {
        if (args.size() != 1 || args[0].numel() != 1)
            throw Error("figure: give one figure handle.");
        const Handle h = args[0].scalar();
        if (g.isValid(h)) {
            if (g.type(h) != ObjectType::Figure) throw Error("figure: the handle is not a figure.");
            g.setCurrentFigure(h);
            host().raiseFigure(h);
            return h;
        }
        if (!(h >= 1 && h == std::floor(h))) throw Error("figure: invalid figure number.");
        g.model().requestedFigure = h;
        return g.create(ObjectType::Figure, 0, {});
    }
    return g.create(ObjectType::Figure, 0, args);
}

}  // namespace rt

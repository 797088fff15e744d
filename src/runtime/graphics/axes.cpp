#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

Handle axes(const Values& args) {
    Graphics& g = graphics();
    if (!args.empty() && !args[0].isChar()) {
        if (args.size() != 1 || args[0].numel() != 1) throw Error("axes: give one axes handle.");
        const Handle h = args[0].scalar();
        if (g.type(h) != ObjectType::Axes) throw Error("axes: the handle is not an axes.");
        const Handle fig = g.parent(h);
        g.set(fig, "CurrentAxes", Value(h));
        g.setCurrentFigure(fig);
        return h;
    }
    return g.create(ObjectType::Axes, namesParent(args) ? 0 : gcf(), args);
}

}  // namespace rt

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/plot_support.h"

namespace rt {

Handle image(const Values& args) {
    Values data, pairs;
    splitDataAndPairs(args, data, pairs);
    if (data.size() != 0 && data.size() != 1 && data.size() != 3)
        throw Error("image: give C, or x, y and C.");
    Values p;
    if (!data.empty()) {
        const Value& c = data.back();
        p = {Value("CData"), c};
        const Value x = data.size() == 3 ? data[0] : Value::row({1, double(c.cols())});
        const Value y = data.size() == 3 ? data[1] : Value::row({1, double(c.rows())});
        p.insert(p.end(), {Value("XData"), x, Value("YData"), y});
    }
    p.insert(p.end(), pairs.begin(), pairs.end());
    Graphics& g = graphics();
    const Handle ax = targetAxes(pairs);
    const Handle fig = g.parent(ax);
    const bool hold =
        g.get(ax, "NextPlot").text() == "add" && g.get(fig, "NextPlot").text() == "add";
    prepareForPlot(ax);
    const Handle h = g.create(ObjectType::Image, ax, p);
    if (!hold) {
        // Picture orientation: row 1 at the top, the image filling the axes.
        g.set(ax, "YDir", Value("reverse"));
        g.set(ax, "XLim", g.get(ax, "XLim"));
        g.set(ax, "YLim", g.get(ax, "YLim"));
    }
    return h;
}

}  // namespace rt

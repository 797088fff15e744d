#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

void axis(const Values& args) {
    Graphics& g = graphics();
    const Handle ax = gca();
    for (const Value& a : args) {
        if (!a.isChar()) {
            const auto d = a.real();
            if (d.size() != 4 && d.size() != 6)
                throw Error("axis: limits are [xmin xmax ymin ymax].");
            g.set(ax, "XLim", Value::row({d[0], d[1]}));
            g.set(ax, "YLim", Value::row({d[2], d[3]}));
            continue;
        }
        const std::string w = lowerAscii(a.text());
        if (w == "equal") {
            // The limits are fitted to the 1:1 aspect when the axes is laid out.
            g.set(ax, "DataAspectRatio", Value::row({1, 1, 1}));
        } else if (w == "normal") {
            g.set(ax, "DataAspectRatioMode", Value("auto"));
            g.set(ax, "PlotBoxAspectRatioMode", Value("auto"));
        } else if (w == "xy") {
            g.set(ax, "YDir", Value("normal"));
        } else if (w == "ij") {
            g.set(ax, "YDir", Value("reverse"));
        } else if (w == "auto") {
            g.set(ax, "XLimMode", Value("auto"));
            g.set(ax, "YLimMode", Value("auto"));
        } else if (w == "manual") {
            g.set(ax, "XLim", g.get(ax, "XLim"));
            g.set(ax, "YLim", g.get(ax, "YLim"));
        } else if (w == "tight") {
            g.set(ax, "XLimMode", Value("auto"));
            g.set(ax, "YLimMode", Value("auto"));
            g.set(ax, "XLim", g.get(ax, "XLim"));
            g.set(ax, "YLim", g.get(ax, "YLim"));
        } else {
            throw Error("axis: unknown option '" + a.text() + "'.");
        }
    }
}

}  // namespace rt

#include "runtime/graphics/plot_support.h"

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

Handle targetAxes(const Values& pairs) {
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2)
        if (pairs[i].isChar() && lowerAscii(pairs[i].text()) == "parent") {
            const Handle p = pairs[i + 1].scalar();
            if (graphics().type(p) != ObjectType::Axes) throw Error("Parent must be an axes.");
            return p;
        }
    return gca();
}

void prepareForPlot(Handle ax) {
    Graphics& g = graphics();
    const Handle fig = g.parent(ax);
    const std::string figNext = g.get(fig, "NextPlot").text();
    const std::string axNext = g.get(ax, "NextPlot").text();
    if (figNext == "replace" || figNext == "replacechildren") {
        // Only the figure's other content goes; this axes stays the target.
        for (Handle k : g.children(fig))
            if (k != ax && g.get(k, "HandleVisibility").text() != "off") g.remove(k);
    }
    if (axNext == "add") return;
    for (Handle k : g.children(ax))
        if (g.get(k, "HandleVisibility").text() != "off") g.remove(k);
    if (axNext == "replace") {
        for (const char* m :
             {"XLimMode", "YLimMode", "ZLimMode", "CLimMode", "XTickMode", "YTickMode",
              "XTickLabelMode", "YTickLabelMode", "DataAspectRatioMode", "PlotBoxAspectRatioMode"})
            g.set(ax, m, Value("auto"));
        g.set(ax, "XDir", Value("normal"));
        g.set(ax, "YDir", Value("normal"));
    }
}

bool parseLineSpec(const std::string& s, LineSpec& out) {
    LineSpec r;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '-' || c == ':') {
            if (!r.lineStyle.empty()) return false;
            if (c == '-' && i + 1 < s.size() && (s[i + 1] == '-' || s[i + 1] == '.')) {
                r.lineStyle = s.substr(i, 2);
                i += 2;
            } else {
                r.lineStyle = std::string(1, c);
                ++i;
            }
            continue;
        }
        if (std::string("ymcrgbwk").find(c) != std::string::npos) {
            if (!r.color.empty()) return false;
            r.color = std::string(1, c);
        } else if (std::string(".ox+*sd^v<>ph").find(c) != std::string::npos) {
            if (!r.marker.empty()) return false;
            r.marker = std::string(1, c);
        } else {
            return false;
        }
        ++i;
    }
    out = r;
    return !s.empty();
}

void splitDataAndPairs(const Values& args, Values& data, Values& pairs) {
    std::size_t i = 0;
    while (i < args.size() && !args[i].isChar()) data.push_back(args[i++]);
    for (; i < args.size(); ++i) pairs.push_back(args[i]);
}

}  // namespace rt

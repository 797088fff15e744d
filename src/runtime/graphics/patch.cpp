#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/plot_support.h"

namespace rt {

namespace {

// patch/fill share the argument forms (x, y, c, pairs...) and (pairs...).
Handle makePatch(const Values& args, bool clearFirst, const char* who) {
    Values data, pairs;
    splitDataAndPairs(args, data, pairs);
    Values p;
    if (!data.empty()) {
        if (data.size() < 2 || data.size() > 3)
            throw Error(std::string(who) + ": give x, y and a colour.");
        if (data[0].numel() != data[1].numel())
            throw Error(std::string(who) + ": x and y must be the same length.");
        p = {Value("XData"), data[0], Value("YData"), data[1]};
        Value c;
        if (data.size() == 3)
            c = data[2];
        else if (pairs.size() % 2 == 1) {
            c = pairs[0];
            pairs.erase(pairs.begin());
        }
        if (!c.isEmpty() || c.isChar()) {
            p.push_back(Value("FaceColor"));
            p.push_back(c);
        }
    }
    p.insert(p.end(), pairs.begin(), pairs.end());
    const Handle ax = targetAxes(pairs);
    if (clearFirst) prepareForPlot(ax);
    return graphics().create(ObjectType::Patch, ax, p);
}

}  // namespace

Handle patch(const Values& args) { return makePatch(args, false, "patch"); }

Handle fill(const Values& args) {
    if (args.size() < 3) throw Error("fill: give x, y and a colour.");
    return makePatch(args, true, "fill");
}

}  // namespace rt

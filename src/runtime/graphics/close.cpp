#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

void closeOne(Handle f) {
    Graphics& g = graphics();
    if (!g.isValid(f)) return;
    const Value req = g.get(f, "CloseRequestFcn");
    if (g.callbackRunner() && !req.isEmpty())
        g.callbackRunner()(f, "CloseRequestFcn");
    else
        g.remove(f);
}

}  // namespace

double close(const Values& args) {
    Graphics& g = graphics();
    std::vector<Handle> targets;
    if (args.empty()) {
        if (g.currentFigure() == 0) return 0;
        targets.push_back(g.currentFigure());
    } else if (args[0].isChar()) {
        const std::string word = lowerAscii(args[0].text());
        const bool hiddenToo =
            args.size() > 1 && args[1].isChar() && lowerAscii(args[1].text()) == "hidden";
        if (word == "all") {
            for (Handle f : g.figures())
                if (hiddenToo || g.get(f, "HandleVisibility").text() != "off") targets.push_back(f);
        } else {
            for (Handle f : g.figures())
                if (g.get(f, "Name").equals(args[0])) targets.push_back(f);
            if (targets.empty()) throw Error("close: no figure named '" + args[0].text() + "'.");
        }
    } else {
        if (!args[0].isNumeric() && !args[0].isLogical()) throw Error("close: invalid argument.");
        for (double h : args[0].real()) {
            if (!g.isValid(h) || g.type(h) != ObjectType::Figure)
                throw Error("close: invalid figure handle.");
            targets.push_back(h);
        }
    }
    for (Handle f : targets) closeOne(f);
    return targets.empty() ? 0 : 1;
}

}  // namespace rt

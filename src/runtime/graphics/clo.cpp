#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

void clo(Handle figure, const Values& options) {
    Graphics& g = graphics();
    bool all = false;
    for (const Value& o : options) {
        const std::string w = o.isChar() ? lowerAscii(o.text()) : "";
        if (w == "hidden" || w == "reset")
            all = true;
        else
            throw Error("clo: unknown option.");
    }
    for (Handle k : g.children(figure))
        if (g.isValid(k) && (all || g.get(k, "HandleVisibility").text() != "off")) g.remove(k);
}

}  // namespace rt

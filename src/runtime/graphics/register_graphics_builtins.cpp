#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

void register_graphics_builtins(FunctionTable& t) {
    // The table checks only upper counts: missing arguments are refused here.
    t.add("set", -2, 0, [](const Values& in, int) -> Values {
        if (in.empty()) throw Error("set: give handles, then property names and values.");
        set(in[0], Values(in.begin() + 1, in.end()));
        return {};
    });
    t.add("get", 2, 1, [](const Values& in, int) -> Values {
        if (in.size() < 2 || !in[1].isChar()) throw Error("get: give handles and a property name.");
        return {get(in[0], in[1].text())};
    });
    t.add("close", -1, 1, [](const Values& in, int nargout) -> Values {
        const double status = close(in);
        if (nargout > 0) return {Value(status)};
        return {};
    });
    t.add("findobj", -1, 1, [](const Values& in, int) -> Values { return {findobj(in)}; });
    t.add("delete", 1, 0, [](const Values& in, int) -> Values {
        if (in.empty()) throw Error("delete: give the objects to delete.");
        deleteObjects(in[0]);
        return {};
    });
}

}  // namespace rt

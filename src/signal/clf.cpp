#include "signal/clf.h"

#include "runtime/graphics/operations.h"
#include "runtime/host.h"

namespace sig {

rt::Handle clf(const rt::Values& options) {
    rt::clo(rt::gcf(), options);
    rt::host().flush();  // refresh
    return rt::gcf();
}

void register_clf(rt::FunctionTable& t) {
    t.add("clf", -1, 1, [](const rt::Values& in, int nargout) {
        const rt::Handle f = clf(in);
        return nargout > 0 ? rt::Values{rt::Value(f)} : rt::Values{};
    });
}

}  // namespace sig

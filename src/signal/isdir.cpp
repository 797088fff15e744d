#include "signal/isdir.h"

#include "runtime/dispatch/error.h"
#include "runtime/fileio/folders.h"

namespace sig {

bool isdir(const std::string& dirpath) { return rt::exist(dirpath, "dir") == 7; }

void register_isdir(rt::FunctionTable& t) {
    t.add("isdir", 1, 1, [](const rt::Values& in, int) {
        rt::error(rt::nargchk(1, 1, in.size()));
        // The empty value [] is no path either.
        const bool yes = !in[0].isEmpty() && isdir(in[0].text());
        return rt::Values{rt::Value(yes ? 1.0 : 0.0)};
    });
}

}  // namespace sig

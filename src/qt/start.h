// The start routine of a program with windows.
#pragma once

#include <string>

#include "runtime/dispatch/function_table.h"

namespace rt {

struct StartOptions {
    // The build's language ("de", "fr", "en"): Qt's standard dialogs and the run-time's own
    // texts (the default error title) speak it.
    std::string language = "en";
};

// Sets up the application (offscreen when there is no display), installs the Qt host, calls
// `entry` once with no inputs and no outputs, and then serves the windows' callbacks until no
// figure object remains (hidden figures count). Callback texts resolve through `table`, then
// through the graphics built-ins (set, get, close, findobj, delete). An error that leaves the
// entry or a callback is reported on standard error and in an error dialog, and the windows
// stay served. Returns the process's exit status (0).
int start(int& argc, char** argv, const NamedFn& entry, const FunctionTable& table,
          const StartOptions& options = {});

}  // namespace rt

// File dialogs that open in the folder of the recording or file a field names.
#pragma once

#include <functional>
#include <optional>

#include "runtime/host.h"

namespace shell {

// Runs `dialog` with the working folder set to the folder of the path in the String of the
// control tagged `tag` (when that path has a folder part and the folder exists), and gives
// back the working folder as it was on every way out, errors included.
std::optional<rt::FileChoice> in_folder_of(
    const char* tag, const std::function<std::optional<rt::FileChoice>()>& dialog);

}  // namespace shell

// How the diagram's buttons report a file they could not write.
#pragma once

#include <functional>
#include <string>

namespace diagram {

// Runs `save(file)`. When it throws rt::Error, an error dialog in the build's language names
// the file, says that an existing file is left as it was, and gives the reason; the caller
// then goes on as after a cancelled dialog.
void save_or_report(const std::string& file, const std::function<void(const std::string&)>& save);

}  // namespace diagram

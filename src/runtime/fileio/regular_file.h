// Opening files for reading by name without hanging on what is not a file.
#pragma once

#include <string>

namespace rt {

// Opens `path` read-only (close-on-exec, blocking reads) only when it is a regular file:
// a FIFO, device, socket or folder is refused before anything waits on it. Returns the
// descriptor, or -1 with `why` set to the reason ("not a regular file" or the system's).
int openRegularFile(const std::string& path, std::string& why);

// For readers that open by name themselves: the reason `path` cannot be read as a file
// ("not a regular file" or the system's), or an empty text when it is a regular file.
std::string notARegularFile(const std::string& path);

}  // namespace rt

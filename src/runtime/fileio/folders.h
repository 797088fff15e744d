// File and folder tests and the working folder, relative to the process's working folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rt {

// exist(name, kind): 2 when `name` is an existing file, 7 when it is an existing folder,
// else 0. kind "file" answers for files and folders alike (2 or 7); kind "dir" answers
// only for folders (7 or 0). Another kind is an rt::Error. Never throws for a missing or
// unreadable name; an empty name gives 0. Symbolic links are followed.
int exist(const std::string& name, const std::string& kind);

// What tells one state of a file from another: which file it is (device and inode, so that a
// file renamed over it is another), its size, and its modification and change times in
// nanoseconds (a copy that keeps the modification time still changes the change time).
struct FileState {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modified = 0, changed = 0;
};
// The state of `name` (symbolic links followed); nullopt when it cannot be looked at.
std::optional<FileState> fileState(const std::string& name);
// That state as a part of a key: " device inode size modified changed", or " -" when the file
// cannot be looked at.
std::string fileStateKey(const std::string& name);

// The working folder as an absolute path without a trailing separator (except "/").
std::string pwd();

// Changes the working folder; rt::Error naming the folder when it does not exist or cannot
// be entered (the working folder is then unchanged).
void cd(const std::string& folder);

// The separator between folder and file names: "/".
std::string filesep();

// Directory listing of a name: for a folder, the names of its entries (without "." and
// "..") sorted by byte value; for a file, its own name without the folder; for a missing
// name, an empty list. No wildcards. Never throws.
std::vector<std::string> dir(const std::string& name);

// The folder for a program's cache files: $XDG_CACHE_HOME/<program>, else
// $HOME/.cache/<program>, made when missing. Empty when there is no such place or it cannot
// be made (a cache is then simply not kept). Never throws.
std::string userCacheFolder(const std::string& program);

}  // namespace rt

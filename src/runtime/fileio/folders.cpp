#include "runtime/fileio/folders.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "runtime/dispatch/error.h"

namespace fs = std::filesystem;

namespace rt {

int exist(const std::string& name, const std::string& kind) {
    if (kind != "file" && kind != "dir")
        error("exist: unknown kind \"" + kind + "\" (use \"file\" or \"dir\").");
    if (name.empty()) return 0;
    std::error_code ec;
    const fs::file_status st = fs::status(name, ec);
    if (ec || !fs::exists(st)) return 0;
    if (fs::is_directory(st)) return 7;
    return kind == "file" ? 2 : 0;
}

std::string pwd() {
    std::error_code ec;
    const fs::path p = fs::current_path(ec);
    if (ec) error("pwd: the working folder cannot be read: " + ec.message());
    return p.string();
}

void cd(const std::string& folder) {
    // chdir rather than fs::current_path so that the message carries the system's reason.
    if (folder.empty() || ::chdir(folder.c_str()) != 0) {
        const std::string why = folder.empty() ? "empty name" : std::strerror(errno);
        error("cd: cannot change to folder \"" + folder + "\": " + why + ".");
    }
}

std::string filesep() { return "/"; }

std::vector<std::string> dir(const std::string& name) {
    std::vector<std::string> out;
    if (name.empty()) return out;
    std::error_code ec;
    const fs::file_status st = fs::status(name, ec);
    if (ec || !fs::exists(st)) return out;
    if (!fs::is_directory(st)) {
        out.push_back(fs::path(name).filename().string());
        return out;
    }
    for (fs::directory_iterator it(name, ec), end; !ec && it != end; it.increment(ec))
        out.push_back(it->path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

std::string userCacheFolder(const std::string& program) {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        base = fs::path(home) / ".cache";
    else
        return {};
    std::error_code ec;
    const fs::path folder = base / program;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) return {};
    return folder.string();
}

}  // namespace rt

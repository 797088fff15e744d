#include "runtime/fileio/folders.h"

#include <sys/stat.h>
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

std::optional<FileState> fileState(const std::string& name) {
    struct stat st {};
    if (name.empty() || ::stat(name.c_str(), &st) != 0) return std::nullopt;
    const auto ns = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    };
    return FileState{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                     static_cast<std::uint64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

std::string fileStateKey(const std::string& name) {
    const std::optional<FileState> f = fileState(name);
    if (!f) return " -";
    std::string s;
    for (const auto n : {f->device, f->inode, f->size}) s += " " + std::to_string(n);
    for (const auto t : {f->modified, f->changed}) s += " " + std::to_string(t);
    return s;
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

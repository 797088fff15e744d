#include "runtime/fileio/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace rt {
namespace {

namespace fs = std::filesystem;

using Reason = SaveError::Reason;

[[noreturn]] void refuse(const std::string& path, Reason reason, const std::string& why) {
    throw SaveError(path, reason, why);
}

Reason reasonOf(int err) {
    return err == ENOSPC || err == EDQUOT || err == EFBIG ? Reason::DiskFull : Reason::Other;
}

// The read-only rule of every save (see the header): the system's own check for this
// process, and the permission bits for everybody, root included.
bool readOnly(const fs::path& p, const struct stat& st, int access) {
    if ((st.st_mode & 0222) == 0) return true;
    if (::faccessat(AT_FDCWD, p.c_str(), access, AT_EACCESS) == 0) return false;
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

fs::path folderOf(const fs::path& p) {
    return p.parent_path().empty() ? fs::path(".") : p.parent_path();
}

// The file a save really replaces: the end of a chain of symbolic links.
fs::path followLinks(const std::string& path) {
    fs::path p(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1);
        const ssize_t n = ::readlink(p.c_str(), buf.data(), buf.size());
        if (n < 0) throwWriteError(path, errno);
        const fs::path to(std::string(buf.data(), static_cast<std::size_t>(n)));
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    throwWriteError(path, ELOOP);
}

std::string temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".tmp";
}

// "<pid>_<n>" -> pid, or 0 when the rest of the name is not of that form.
pid_t pidOfTemporary(const std::string& rest) {
    const std::size_t bar = rest.find('_');
    if (bar == 0 || bar == std::string::npos || bar + 1 == rest.size()) return 0;
    for (std::size_t i = 0; i < rest.size(); ++i)
        if (i != bar && (rest[i] < '0' || rest[i] > '9')) return 0;
    if (bar > 9) return 0;
    return static_cast<pid_t>(std::stol(rest.substr(0, bar)));
}

// Temporaries whose writer is gone were left by a killed save; a live writer's are kept.
void removeStaleTemporaries(const fs::path& target) {
    const fs::path folder = folderOf(target);
    const std::string prefix = temporaryPrefix(target);
    DIR* d = ::opendir(folder.c_str());
    if (!d) return;
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const pid_t pid = pidOfTemporary(name.substr(prefix.size()));
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) stale.push_back(name);
    }
    ::closedir(d);
    for (const std::string& name : stale) ::unlink((folder / name).c_str());
}

int createTemporary(const fs::path& target, std::string& tmpName) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmpName = (folder / (temporaryPrefix(target) + std::to_string(::getpid()) + "_" +
                             std::to_string(counter++)))
                      .string();
        const int fd = ::open(tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

void syncFolder(const fs::path& target) {
    const int fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // the rename is done; a folder we cannot open only loses durability
    ::fsync(fd);
    ::close(fd);
}

// Owns the temporary until it is renamed: any exit before that removes it.
class Temporary {
public:
    Temporary(const std::string& path, const fs::path& target) : path_(path) {
        fd_ = createTemporary(target, name_);
        if (fd_ < 0) {
            const int err = errno;
            if (err == EACCES || err == EPERM || err == EROFS)
                refuse(path_, Reason::ReadOnlyFolder, "the folder is read-only");
            throwWriteError(path_, err);
        }
    }
    ~Temporary() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_) ::unlink(name_.c_str());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int fd() const { return fd_; }
    const std::string& name() const { return name_; }

    // While the producer writes, others get no more access than the old file gave them; the
    // owner keeps reading and writing, so that a producer may reopen the temporary by name.
    void limitToModeOf(const struct stat& old) {
        if (::fchmod(fd_, (old.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0)
            throwWriteError(path_, errno);
    }

    // Takes over the old file's mode; the owner only where the system lets us.
    void copyModeOf(const struct stat& old) {
        struct stat now {};
        if (::fstat(fd_, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid))
            (void)::fchown(fd_, old.st_uid, old.st_gid);
        if (::fchmod(fd_, old.st_mode & 07777) != 0) throwWriteError(path_, errno);
    }

    void commit(const fs::path& target) {
        if (::fsync(fd_) != 0) throwWriteError(path_, errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) throwWriteError(path_, errno);
        if (::rename(name_.c_str(), target.c_str()) != 0) throwWriteError(path_, errno);
        renamed_ = true;
        syncFolder(target);
    }

private:
    std::string path_;
    std::string name_;
    int fd_ = -1;
    bool renamed_ = false;
};

}  // namespace

bool writeFully(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

SaveError::SaveError(std::string path, Reason reason, const std::string& why)
    : SaveError("Cannot write \"" + path + "\": " + why + ".", path, reason) {}

SaveError::SaveError(const std::string& message, std::string path, Reason reason)
    : Error(message), path_(std::move(path)), reason_(reason) {}

SaveError SaveError::withMessage(const std::string& message, std::string path) const {
    return SaveError(message, std::move(path), reason_);
}

void requireFileName(const std::string& name) {
    const fs::path file = fs::path(name).filename();
    if (name.empty() || file.empty() || file == "." || file == "..")
        refuse(name, Reason::NoFileName, "it names a folder, not a file");
}

void throwWriteError(const std::string& path, int err) {
    refuse(path, reasonOf(err), std::strerror(err));
}

void saveFileAtomically(const std::string& path, const AtomicProducer& produce) {
    requireFileName(path);
    const fs::path target = followLinks(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) throwWriteError(path, errno);
    if (exists && !S_ISREG(old.st_mode)) refuse(path, Reason::NotAFile, "not a regular file");
    if (exists && readOnly(target, old, W_OK))
        refuse(path, Reason::ReadOnlyFile, "the file is read-only");
    const fs::path folder = folderOf(target);
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) == 0 && readOnly(folder, dir, W_OK | X_OK))
        refuse(path, Reason::ReadOnlyFolder, "the folder is read-only");

    removeStaleTemporaries(target);
    Temporary tmp(path, target);
    if (exists) tmp.limitToModeOf(old);
    try {
        produce(tmp.fd(), tmp.name());
    } catch (const SaveError& e) {
        throw e.withMessage(replaceAll(e.what(), tmp.name(), path),
                            e.path() == tmp.name() ? path : e.path());
    } catch (const Error& e) {
        const std::string message = replaceAll(e.what(), tmp.name(), path);
        if (message == e.what()) throw;
        throw Error(message);
    }
    // Only now: a producer that opens the temporary by name must still be let in.
    if (exists) tmp.copyModeOf(old);
    tmp.commit(target);
}

void saveFileAtomically(const std::string& path, std::string_view bytes) {
    saveFileAtomically(path, [&](int fd, const std::string&) {
        if (!writeFully(fd, bytes)) throwWriteError(path, errno);
    });
}

}  // namespace rt

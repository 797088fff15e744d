// Saves that never leave a file half-written.
//
// What every save through here guarantees:
// - The bytes go to a fresh temporary file in the target's own folder (named
//   "." + target name + ".tmp" + pid + "_" + n), which is flushed to disk and then renamed over
//   the target, so readers see either the whole old file or the whole new one.
// - On any failure (a full disk, a file-size limit, no permission, the producer throwing) the
//   old file stays byte for byte as it was and the temporary is removed.
// - Temporaries of the same target left behind by a save that was killed (their process is
//   gone) are removed by the next save of that target.
// - An existing target keeps its permission bits (and, where the system allows, its owner);
//   a new file gets 0666 less the umask. While the new contents are written, others have no
//   more access to them than the old file gave them.
// - A symbolic link is written through: its final target is replaced and the link stays. A
//   dangling link creates its target.
// - A target that exists but is not a regular file (a folder, FIFO or device) is refused
//   without being touched, and so is a name that gives no file ("", "sub/", "sub/.").
// - A read-only target is refused, and so is a read-only folder. Read-only is what the system
//   would not let this process write, and also what no permission bit lets anybody write:
//   the system lets root replace a mode-444 file, but a user who made a file read-only expects
//   it kept whoever saves.
// Failures throw rt::SaveError naming the file as the caller gave it, never the temporary:
//   Cannot write "out.wav": No space left on device.
// Errors thrown by a producer pass through after the temporary is removed, with the
// temporary's name replaced by the caller's wherever their message gives it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/dispatch/error.h"

namespace rt {

// A refused or failed save. what() is "Cannot write \"<path>\": <reason>." in English;
// programs with texts of their own show reason() in their words.
class SaveError : public Error {
public:
    enum class Reason {
        NoFileName,      // the name gives a folder, not a file
        NotAFile,        // a folder, FIFO or device bears the name
        ReadOnlyFile,    // the rule above
        ReadOnlyFolder,  // no file can be made in the target's folder
        DiskFull,        // no space left, a quota or a file-size limit
        Other,           // the system's reason, as what() gives it
    };
    SaveError(std::string path, Reason reason, const std::string& why);
    // The file as the caller named it.
    const std::string& path() const { return path_; }
    Reason reason() const { return reason_; }
    // The same refusal under another message, e.g. with the operation's name before it, and
    // when given, for another file.
    SaveError withMessage(const std::string& message) const { return withMessage(message, path_); }
    SaveError withMessage(const std::string& message, std::string path) const;

private:
    SaveError(const std::string& message, std::string path, Reason reason);
    std::string path_;
    Reason reason_;
};

// Refuses (SaveError, NoFileName) a name that gives a folder rather than a file. Callers that
// add a default extension check first, so that "sub/" never becomes the hidden "sub/.txt".
void requireFileName(const std::string& name);

// Replaces `path` with `bytes` under the rules above.
void saveFileAtomically(const std::string& path, std::string_view bytes);

// The streaming form, for data too big to hold twice. `produce` receives the temporary
// file's descriptor (open for writing, at offset 0; do not close it) and its name (for
// writers that need a name; the name does not end in the target's extension, so give such a
// writer the format explicitly). It must write the whole file or throw; it may write through
// its own descriptor on the name, closing that before it returns.
using AtomicProducer = std::function<void(int fd, const std::string& temporaryPath)>;
void saveFileAtomically(const std::string& path, const AtomicProducer& produce);

// Writes all of `bytes` to `fd`, retrying short writes; false with errno set on failure.
bool writeFully(int fd, std::string_view bytes);

// "Cannot write \"path\": reason." as rt::SaveError, for producers that meet a failing write.
[[noreturn]] void throwWriteError(const std::string& path, int err);

}  // namespace rt

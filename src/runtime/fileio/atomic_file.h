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
//   a new file gets 0666 less the umask.
// - A symbolic link is written through: its final target is replaced and the link stays. A
//   dangling link creates its target.
// - A target that exists but is not a regular file (a folder, FIFO or device) is refused
//   without being touched.
// Failures throw rt::Error naming the file as the caller gave it and the system's reason:
//   Cannot write "out.wav": No space left on device.
// Errors thrown by a producer pass through unchanged (after the temporary is removed).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rt {

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

// "Cannot write \"path\": reason." as rt::Error, for producers that meet a failing write.
[[noreturn]] void throwWriteError(const std::string& path, int err);

}  // namespace rt

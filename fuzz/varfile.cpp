// The variable-file loader on arbitrary bytes: it may refuse them, never crash or overread.
// Then, with the checksum made to fit so that any structure gets through, the program's own
// use of what loads: load_par fills the main window's panel, get_par reads it back, and every
// control's text is listed as its view would list it.
#include "runtime/fileio/varfile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"
#include "shell/get_par.h"
#include "shell/load_par.h"
#include "shell/rovantel.h"
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return english_table(); }
}  // namespace shell

namespace {

// The loaded file lives in memory, and the program runs in an empty folder that is already
// removed: no start file of the caller's is loaded and a stopped run leaves nothing behind.
// The caller's folder is restored after each run, since the fuzzer writes its corpus and
// findings there.
struct Scene {
    int file;
    std::string path;
    int home;
    int empty;
};

const Scene& scene() {
    static const Scene s = [] {
        const auto dir =
            std::filesystem::temp_directory_path() / ("fuzz_varfile_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const int empty = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        std::filesystem::remove(dir);
        const int home = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const int fd = ::memfd_create("par.cfg", 0);
        if (fd < 0 || empty < 0 || home < 0) std::abort();
        return Scene{fd, "/proc/self/fd/" + std::to_string(fd), home, empty};
    }();
    return s;
}

struct InEmptyFolder {
    InEmptyFolder() {
        if (::fchdir(scene().empty) != 0) std::abort();
    }
    ~InEmptyFolder() {
        if (::fchdir(scene().home) != 0) std::abort();
    }
};

void listEveryControlText() {
    const rt::Value controls = rt::findobj({rt::Value("Type"), rt::Value("uicontrol")});
    for (double h : controls.real()) {
        const rt::Value s = rt::get(rt::Value(h), "String");
        if (s.isChar()) {
            (void)s.text16();
            (void)s.rowTexts();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto vars = rt::decodeVariables(data, size, "fuzz");
        // Whatever loads must save, and load again to the same variables.
        const std::vector<std::uint8_t> again = rt::encodeVariables(vars);
        if (rt::encodeVariables(rt::decodeVariables(again.data(), again.size(), "again")) != again)
            __builtin_trap();
    } catch (const rt::Error&) {
    }

    if (size < 4) return 0;
    std::vector<std::uint8_t> sealed(data, data + size);
    const std::uint32_t crc = rt::variableFileChecksum(sealed.data(), size - 4);
    for (int k = 0; k < 4; ++k) sealed[size - 4 + k] = static_cast<std::uint8_t>(crc >> 8 * k);
    try {
        rt::decodeVariables(sealed.data(), sealed.size(), "sealed");
    } catch (const rt::Error&) {
        return 0;  // refused before the panel is touched
    }
    const int fd = scene().file;
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, sealed.data(), size, 0) != ssize_t(size))
        std::abort();
    InEmptyFolder there;
    try {
        shell::rovantel();  // a fresh panel, so that each input runs alone
        shell::load_par(scene().path);
        listEveryControlText();
        shell::get_par();
    } catch (const rt::Error&) {
    }
    return 0;
}

#include "shell/recording_folder.h"

#include <string>

#include "runtime/fileio/folders.h"
#include "runtime/value/value.h"
#include "shell/panel.h"
#include "signal/isdir.h"

namespace shell {

std::optional<rt::FileChoice> in_folder_of(
    const char* tag, const std::function<std::optional<rt::FileChoice>()>& dialog) {
    struct Restore {
        std::string folder;
        ~Restore() {
            try {
                rt::cd(folder);
            } catch (...) {
            }
        }
    } restore{rt::pwd()};

    const std::string current = rt::utf8(string_of(tag));
    const auto sep = current.rfind('/');
    if (sep != std::string::npos) {
        const std::string folder = current.substr(0, sep + 1);
        if (sig::isdir(folder)) rt::cd(folder);
    }
    return dialog();
}

}  // namespace shell

// How every save of rovantel tells the user about a file it could not write.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "shell/strings.h"

namespace shell {

// Runs `save`. When it throws rt::Error, one error dialog titled st.file_error names the file
// in quotes, then `failed` (st.write_failed unless another text is given: an existing file is
// left as it was) and, on a line of its own, why: a refused save (rt::SaveError) in the
// build's language, naming the file it refused; any other error as its message gives it,
// naming `file`. Returns whether the save went through.
bool save_or_report(const std::string& file, const std::function<void()>& save,
                    std::u16string Strings::*failed = &Strings::write_failed);

// The file a save typed as `file` writes: `file` with `ext` appended when it holds no "."
// from `from` on (0: a point in a folder's name counts too). nullopt after save_or_report's
// dialog when `file` gives a folder, checked first so that "sub/" never becomes "sub/.txt".
std::optional<std::string> name_to_save(const std::string& file, const char* ext,
                                        std::size_t from = 0);

}  // namespace shell

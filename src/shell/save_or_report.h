// How every save of rovantel tells the user about a file it could not write.
#pragma once

#include <functional>
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

}  // namespace shell

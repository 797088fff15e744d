#include "shell/save_or_report.h"

#include "runtime/fileio/atomic_file.h"
#include "runtime/host.h"
#include "runtime/value/value.h"

namespace shell {

namespace {

// The reason in the build's language, or nullptr where only the system's text says it.
const std::u16string* reason_text(const Strings& st, rt::SaveError::Reason reason) {
    using Reason = rt::SaveError::Reason;
    switch (reason) {
        case Reason::NoFileName:
            return &st.save_no_file;
        case Reason::NotAFile:
            return &st.save_not_a_file;
        case Reason::ReadOnlyFile:
            return &st.save_read_only;
        case Reason::ReadOnlyFolder:
            return &st.save_dir_locked;
        case Reason::DiskFull:
            return &st.save_disk_full;
        case Reason::Other:
            break;
    }
    return nullptr;
}

}  // namespace

bool save_or_report(const std::string& file, const std::function<void()>& save,
                    std::u16string Strings::*failed) {
    std::string named = file, why;
    try {
        save();
        return true;
    } catch (const rt::SaveError& e) {
        const std::u16string* text = reason_text(text_table(), e.reason());
        named = e.path();
        why = text ? rt::utf8(*text) : e.what();
    } catch (const rt::Error& e) {
        why = e.what();
    }
    const Strings& st = text_table();
    rt::errordlg("\"" + named + "\" " + rt::utf8(st.*failed) + "\n" + why, rt::utf8(st.file_error));
    return false;
}

std::optional<std::string> name_to_save(const std::string& file, const char* ext,
                                        std::size_t from) {
    if (!save_or_report(file, [&] { rt::requireFileName(file); })) return std::nullopt;
    return file.find('.', from) == std::string::npos ? file + ext : file;
}

}  // namespace shell

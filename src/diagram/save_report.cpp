#include "diagram/save_report.h"

#include "runtime/dispatch/error.h"
#include "runtime/host.h"
#include "shell/strings.h"

namespace diagram {

void save_or_report(const std::string& file, const std::function<void(const std::string&)>& save) {
    try {
        save(file);
    } catch (const rt::Error& e) {
        const shell::Strings& st = shell::text_table();
        rt::errordlg("\"" + file + "\" " + rt::utf8(st.write_failed) + "\n" + e.what(),
                     rt::utf8(st.file_error));
    }
}

}  // namespace diagram

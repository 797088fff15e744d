#include "porttime/get_pdf_file.h"

#include "runtime/host.h"
#include "shell/panel.h"
#include "shell/recording_folder.h"

namespace porttime {

void get_pdf_file() {
    const auto choice = shell::in_folder_of("PrintFile", [] {
        return rt::uiputfile({{"*.ps", "PS Files"}, {"*.*", "All Files"}}, "Print File Name");
    });
    if (choice) shell::set_tagged("PrintFile", "String", rt::Value(choice->folder + choice->name));
}

void register_get_pdf_file(rt::FunctionTable& table) {
    table.add("get_pdf_file", 0, 0, [](const rt::Values&, int) {
        get_pdf_file();
        return rt::Values{};
    });
}

}  // namespace porttime

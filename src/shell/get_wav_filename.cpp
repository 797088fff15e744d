#include "shell/get_wav_filename.h"

#include <functional>

#include "runtime/host.h"
#include "shell/panel.h"
#include "shell/recording_folder.h"
#include "shell/strings.h"

namespace shell {

namespace {

using Chooser = std::function<std::optional<rt::FileChoice>(const Strings&)>;

void choose_into(const char* tag, const Chooser& ask) {
    const Strings& st = text_table();
    if (auto choice = in_folder_of(tag, [&] { return ask(st); }))
        set_tagged(tag, "String", rt::Value(choice->folder + choice->name));
}

}  // namespace

void get_wav_filename() {
    choose_into("wav_file", [](const Strings& st) {
        return rt::uigetfile({{"*.wav", rt::utf8(st.wav_file)}, {"*.*", rt::utf8(st.all_file)}},
                             rt::utf8(st.wav_files));
    });
}

void get_out_filename() {
    choose_into("out_file", [](const Strings& st) {
        return rt::uiputfile({{"*.asc", rt::utf8(st.asc_file)}, {"*.*", rt::utf8(st.all_file)}},
                             rt::utf8(st.out_files));
    });
}

void register_get_wav_filename(rt::FunctionTable& table) {
    table.add("get_wav_filename", 0, 0, [](const rt::Values&, int) {
        get_wav_filename();
        return rt::Values{};
    });
}

void register_get_out_filename(rt::FunctionTable& table) {
    table.add("get_out_filename", 0, 0, [](const rt::Values&, int) {
        get_out_filename();
        return rt::Values{};
    });
}

}  // namespace shell

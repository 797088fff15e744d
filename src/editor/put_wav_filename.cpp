#include "editor/put_wav_filename.h"

#include "editor/editor_window.h"
#include "editor/save_wav_cut.h"
#include "editor/save_wav_era.h"
#include "runtime/graphics/operations.h"
#include "runtime/host.h"
#include "shell/panel.h"
#include "shell/recording_folder.h"
#include "shell/strings.h"

namespace editor {

void put_wav_filename(const std::optional<EraseChannels>& era) {
    const shell::Strings& st = shell::text_table();
    const std::string wavname = rt::utf8(shell::string_of("wav_file"));
    const auto choice = shell::in_folder_of("wav_file", [&] {
        return rt::uiputfile({{"*.wav", rt::utf8(st.wav_file)}, {"*.*", rt::utf8(st.all_file)}},
                             rt::utf8(st.wav_files));
    });
    if (!choice) return;
    const rt::Value chosen(choice->folder + choice->name);
    shell::set_tagged("wav_file", "String", chosen);
    shell::set_tagged("wav_cut_file", "String", chosen);
    if (era)
        save_wav_era(wavname, era->ch, era->L);
    else
        save_wav_cut(wavname);
}

void register_put_wav_filename(rt::FunctionTable& table) {
    table.add("put_wav_filename", 2, 0, [](const rt::Values& in, int) {
        if (in.size() < 2)
            put_wav_filename();
        else
            put_wav_filename(EraseChannels{channel_list(in[0]), in[1].scalar()});
        return rt::Values{};
    });
}

}  // namespace editor

#include "editor/save_wav_cut.h"

#include "editor/editor_window.h"
#include "editor/save_output.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace editor {

void save_wav_cut(const std::string& wavfile1) {
    const shell::Strings& st = shell::text_table();
    const auto name = output_name(st);
    if (!name) return;
    reporting_errors(st, [&] {
        const ShownRecording r = shown_recording(st, wavfile1);
        const auto rows = rows_within(r.Y.rows(), r.FS, r.xlim[0], r.xlim[1], false);
        write_recording(take_rows(r.Y, rows), r.FS, *name);
    });
}

void register_save_wav_cut(rt::FunctionTable& table) {
    table.add("save_wav_cut", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        save_wav_cut(in[0].text());
        return rt::Values{};
    });
}

}  // namespace editor

#include "editor/save_output.h"

#include "editor/editor_window.h"
#include "evaluation/read_recording.h"
#include "runtime/dispatch/error.h"
#include "runtime/fileio/folders.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/host.h"
#include "shell/panel.h"
#include "shell/save_or_report.h"
#include "signal/wavwrite.h"

namespace editor {

std::optional<std::string> output_name(const shell::Strings& st) {
    const std::optional<std::string> checked =
        shell::name_to_save(rt::utf8(shell::string_of("wav_cut_file")), ".wav");
    if (!checked) return std::nullopt;
    const std::string& name = *checked;
    if (rt::exist(name, "file") != 0) {
        const std::string yes = rt::utf8(st.yes), no = rt::utf8(st.no);
        const std::string answer =
            rt::questdlg(name + "\n" + rt::utf8(st.file_overw), name, yes, no, no);
        if (answer != yes) return std::nullopt;
    }
    return name;
}

ShownRecording shown_recording(const shell::Strings& st, const std::string& source) {
    const rt::Handle fig = editor_window(st.cut_File);
    const rt::Handle ax = editor_axes(st.cut_File);
    if (fig == 0 || ax == 0) rt::error("No editor window is open.");
    ShownRecording r;
    const auto lim = rt::get(rt::Value(ax), "XLim").real();
    r.xlim = {lim.at(0), lim.at(1)};
    HeldRecording held;
    if (held_recording(fig, held)) {
        Eigen::MatrixXd storage;
        r.Y = samples_of(held.Y, storage);
        r.FS = held.FS;
    } else {
        sig::Recording rec = evaluation::read_recording(source, st);
        r.Y = std::move(rec.y);
        r.FS = rec.Fs;
    }
    return r;
}

void reporting_errors(const shell::Strings& st, const std::function<void()>& save) {
    try {
        save();
    } catch (const rt::Error& e) {
        rt::errordlg(e.what(), rt::utf8(st.file_error));
        throw;
    }
}

void write_recording(const Eigen::MatrixXd& Y, double FS, const std::string& name) {
    if (shell::save_or_report(name, [&] { sig::wavwrite(Y, FS, 32, name); }))
        shell::set_tagged("wav_file", "String", rt::Value(name));
}

}  // namespace editor

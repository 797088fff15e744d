#include "editor/save_wav_era.h"

#include "editor/editor_window.h"
#include "editor/fm_resynthesis.h"
#include "editor/save_output.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/value/eigen.h"

namespace editor {

void save_wav_era(const std::string& wavfile1, const std::vector<int>& ch, double L) {
    const shell::Strings& st = shell::text_table();
    const auto name = output_name(st);
    if (!name) return;
    reporting_errors(st, [&] {
        const auto trace = rt::graphics().withTag(u"SpectrumP");
        if (trace.empty()) rt::error("The erase window holds no peak trace.");
        const Eigen::VectorXd tx =
            rt::toMatrix(rt::get(rt::Value(trace.front()), "XData")).reshaped();
        const Eigen::VectorXd ty =
            rt::toMatrix(rt::get(rt::Value(trace.front()), "YData")).reshaped();
        const ShownRecording r = shown_recording(st, wavfile1);
        const Resynthesis tone = resynthesise(tx, ty, r.Y.rows(), r.FS, L);
        const auto rows = rows_within(r.Y.rows(), r.FS, r.xlim[0], r.xlim[1], false);
        write_recording(rebuild_channels(r.Y, rows, ch, tone.y), r.FS, *name);
    });
}

void register_save_wav_era(rt::FunctionTable& table) {
    table.add("save_wav_era", 3, 0, [](const rt::Values& in, int) {
        if (in.size() < 3) rt::error("Not enough input arguments.");
        save_wav_era(in[0].text(), channel_list(in[1]), in[2].scalar());
        return rt::Values{};
    });
}

}  // namespace editor

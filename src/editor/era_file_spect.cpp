#include "editor/era_file_spect.h"

#include "editor/fm_resynthesis.h"
#include "editor/spectrogram_display.h"
#include "editor/togeraser.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"

namespace editor {

EraseResult era_file_spect(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                           const std::vector<int>& ch, double L, const EditorTexts& st, double mr,
                           double Mr) {
    const EditorFrame frame = open_frame(st, EditorKind::Erase, Y, FS, ch, L);
    ShownSpectrogram shown = show_spectrogram(frame.axes, st, true, Y, FS, ch, L, mr, Mr);
    togeraser();
    const Ended ended = wait_for_user(st, frame.figure);
    EraseResult r;
    if (ended.outcome != Outcome::Done) {
        restore_main_window();
        r.Y = std::move(shown.signal);
        r.f = shown.F.transpose();
        r.t = shown.t.transpose();
        return r;
    }
    const auto trace = rt::graphics().withTag(u"SpectrumP");
    const Eigen::VectorXd rpm =
        trace.empty()
            ? shown.peakRpm
            : Eigen::VectorXd(rt::toMatrix(rt::get(rt::Value(trace.front()), "YData")).reshaped());
    const Resynthesis tone = resynthesise(shown.t, rpm, Y.rows(), FS, L);
    const auto rows = rows_within(Y.rows(), FS, ended.xlim[0], ended.xlim[1], false);
    r.Y = rebuild_channels(Y, rows, ch, tone.y);
    r.ok = true;
    r.f = tone.f.transpose();
    // The evaluation joins this track with channels of the returned recording, whose first
    // sample is the first kept one.
    const double start = rows.empty() ? 0 : static_cast<double>(rows.front()) / FS;
    r.t = Eigen::RowVectorXd::LinSpaced(Y.rows(), 0, static_cast<double>(Y.rows() - 1)) / FS;
    r.t.array() -= start;
    rt::close({rt::Value(frame.figure)});
    return r;
}

void register_era_file_spect(rt::FunctionTable& table) {
    table.add("era_file_spect", 7, 4, [](const rt::Values& in, int) {
        if (in.size() < 7) rt::error("Not enough input arguments.");
        Eigen::MatrixXd storage;
        EraseResult r =
            era_file_spect(samples_of(in[0], storage), in[1].scalar(), channel_list(in[2]),
                           in[3].scalar(), EditorTexts::of(in[4]), in[5].scalar(), in[6].scalar());
        return rt::Values{rt::fromMatrix(r.Y), rt::Value(r.ok ? 1.0 : 0.0), rt::fromMatrix(r.f),
                          rt::fromMatrix(r.t)};
    });
}

}  // namespace editor

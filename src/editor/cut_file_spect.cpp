#include "editor/cut_file_spect.h"

#include "editor/spectrogram_display.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/zoom.h"
#include "runtime/value/eigen.h"

namespace editor {

CutResult cut_file_spect(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                         const std::vector<int>& ch, double L, const EditorTexts& st, double mr,
                         double Mr) {
    const EditorFrame frame = open_frame(st, EditorKind::SpectrogramCut, Y, FS, ch, L);
    ShownSpectrogram shown = show_spectrogram(frame.axes, st, false, Y, FS, ch, L, mr, Mr);
    rt::zoom({rt::Value(frame.figure), rt::Value("on")});
    const Ended ended = wait_for_user(st, frame.figure);
    if (ended.outcome != Outcome::Done) {
        restore_main_window();
        return {std::move(shown.signal), false};
    }
    CutResult r{take_rows(Y, rows_within(Y.rows(), FS, ended.xlim[0], ended.xlim[1], true)), true};
    rt::close({rt::Value(frame.figure)});
    return r;
}

void register_cut_file_spect(rt::FunctionTable& table) {
    table.add("cut_file_spect", 7, 2, [](const rt::Values& in, int) {
        if (in.size() < 7) rt::error("Not enough input arguments.");
        Eigen::MatrixXd storage;
        CutResult r =
            cut_file_spect(samples_of(in[0], storage), in[1].scalar(), channel_list(in[2]),
                           in[3].scalar(), EditorTexts::of(in[4]), in[5].scalar(), in[6].scalar());
        return rt::Values{rt::fromMatrix(r.Y), rt::Value(r.ok ? 1.0 : 0.0)};
    });
}

}  // namespace editor

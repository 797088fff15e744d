#include "editor/cut_file_digi.h"

#include "editor/spectrogram_display.h"
#include "evaluation/dig2v.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/graphics/zoom.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"
#include "signal/xlabel.h"
#include "signal/ylabel.h"

namespace editor {

CutResult cut_file_digi(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double u, double W,
                        const EditorTexts& st, const std::vector<int>& ch) {
    Eigen::MatrixXd shown = channel_columns(Y, ch);
    const EditorFrame frame = open_frame(st, EditorKind::SpeedCut, Y, FS);
    const evaluation::PulseSeries speed =
        evaluation::dig2v(shown, FS, u, W, {st.wait, st.wb_sdiag});
    const Eigen::VectorXd kmh = speed.v * 3.6;
    rt::plot({rt::fromMatrix(speed.t), rt::fromMatrix(kmh), rt::Value("k"), rt::Value("Parent"),
              rt::Value(frame.axes)});
    const double top = kmh.size() > 0 ? kmh.maxCoeff() : 0;
    if (speed.t.size() < 2) rt::error(rt::utf8(shell::text_table().no_speed_to_cut));
    rt::setProps(rt::Value(frame.axes), {{"YDir", "normal"},
                                         {"XLim", {speed.t(0), speed.t(speed.t.size() - 1)}},
                                         {"YLim", {-5, 1.3 * top}},
                                         {"Position", {0.13, 0.22, 0.775, 0.705}},
                                         {"Box", "on"},
                                         {"XGrid", "on"},
                                         {"YGrid", "on"}});
    sig::xlabel(rt::Value("[s]"));
    sig::ylabel(rt::Value("[km/h]"));
    rt::zoom({rt::Value(frame.figure), rt::Value("on")});
    const Ended ended = wait_for_user(st, frame.figure);
    if (ended.outcome != Outcome::Done) {
        restore_main_window();
        return {std::move(shown), false};
    }
    CutResult r{take_rows(Y, rows_within(Y.rows(), FS, ended.xlim[0], ended.xlim[1], false)), true};
    rt::close({rt::Value(frame.figure)});
    return r;
}

void register_cut_file_digi(rt::FunctionTable& table) {
    table.add("cut_file_digi", 6, 2, [](const rt::Values& in, int) {
        if (in.size() < 5) rt::error("Not enough input arguments.");
        Eigen::MatrixXd storage;
        const std::vector<int> ch = in.size() > 5 ? channel_list(in[5]) : std::vector<int>{1, 2};
        CutResult r = cut_file_digi(samples_of(in[0], storage), in[1].scalar(), in[2].scalar(),
                                    in[3].scalar(), EditorTexts::of(in[4]), ch);
        return rt::Values{rt::fromMatrix(r.Y), rt::Value(r.ok ? 1.0 : 0.0)};
    });
}

}  // namespace editor

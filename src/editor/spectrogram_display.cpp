#include "editor/spectrogram_display.h"

#include <cmath>
#include <string>

#include "evaluation/wav2v.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/value/eigen.h"
#include "signal/imagesc.h"
#include "signal/title.h"
#include "signal/xlabel.h"
#include "signal/ylabel.h"

namespace editor {

Eigen::MatrixXd channel_columns(const Eigen::Ref<const Eigen::MatrixXd>& Y,
                                const std::vector<int>& ch) {
    Eigen::MatrixXd out(Y.rows(), static_cast<Eigen::Index>(ch.size()));
    for (std::size_t k = 0; k < ch.size(); ++k) {
        if (ch[k] < 1 || ch[k] > Y.cols())
            rt::error("The recording has no channel " + std::to_string(ch[k]) + ".");
        out.col(static_cast<Eigen::Index>(k)) = Y.col(ch[k] - 1);
    }
    return out;
}

ShownSpectrogram show_spectrogram(rt::Handle ax, const EditorTexts& st, bool erase,
                                  const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                                  const std::vector<int>& ch, double L, double mr, double Mr) {
    using evaluation::kToneRate;
    ShownSpectrogram s;
    s.signal = evaluation::toneSignal(channel_columns(Y, ch), FS);
    const Eigen::VectorXd freq = evaluation::toneGrid(mr, Mr, L, erase ? 1500 : 300);
    std::optional<double> noverlap;
    // A tenth of the tone analysis' overlap keeps long recordings at few slices.
    if (!erase)
        noverlap = std::floor(kToneRate / 10 * 4 * 0.9 / 10 /
                              evaluation::toneOverlapDivisor(s.signal.size()));
    const evaluation::ToneSpectrum spec = evaluation::toneSpectrum(s.signal, freq, noverlap);
    s.F = spec.F;
    s.t = spec.t;
    s.peakRpm = spec.track * 60 / L;

    const Eigen::VectorXd rpm = spec.F * 60 / L;
    const rt::Value T = rt::fromMatrix(s.t.transpose());
    sig::imagesc({T, rt::fromMatrix(rpm.transpose()),
                  rt::fromMatrix(Eigen::MatrixXd(spec.B.cwiseAbs())), rt::Value("EraseMode"),
                  rt::Value("none"), rt::Value("Tag"), rt::Value("SpectrumI")});
    if (erase)
        rt::plot({T, rt::fromMatrix(s.peakRpm.transpose()), rt::Value("k"), rt::Value("EraseMode"),
                  rt::Value("none"), rt::Value("Tag"), rt::Value("SpectrumP"), rt::Value("Parent"),
                  rt::Value(ax)});
    sig::title(rt::Value(erase ? st.titera : st.titcut));
    rt::setProps(rt::Value(ax), {{"YDir", "normal"},
                                 {"XLim", {s.t(0), s.t(s.t.size() - 1)}},
                                 {"YLim", {rpm(0), rpm(rpm.size() - 1)}},
                                 {"Position", {0.17, 0.22, 0.775, 0.705}},
                                 {"Box", "on"}});
    sig::xlabel(rt::Value("[s]"));
    sig::ylabel(rt::Value("[RPM]"));
    return s;
}

}  // namespace editor

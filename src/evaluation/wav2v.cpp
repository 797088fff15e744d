#include "evaluation/wav2v.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"
#include "signal/resample.h"
#include "signal/specgram.h"

namespace evaluation {

Eigen::VectorXd toneSignal(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS) {
    // A channel already at the analysis rate (a stretch-wise resampled one) is copied once.
    if (FS == kToneRate && Y.cols() == 1) {
        if (Y.size() == 0) return Eigen::VectorXd();
        return Y.col(0).array() - Y.col(0).mean();
    }
    // One column in the resampler's own type, so that no conversion copies it on the way.
    Eigen::MatrixXd x;
    if (Y.cols() == 2)
        x = (Y.col(0) + Y.col(1)) / 2;
    else if (Y.cols() == 1)
        x = Y.col(0);
    else if (Y.rows() == 1)
        x = Y.row(0).transpose();
    else
        rt::error("Requires vector (either row or column) input.");
    if (FS != kToneRate) x = sig::resample(x, kToneRate, FS).y;
    if (x.size() == 0) return Eigen::VectorXd();
    return x.col(0).array() - x.mean();
}

Eigen::VectorXd toneGrid(double mr, double Mr, double L, int steps) {
    const shell::Strings& st = shell::text_table();
    if (!std::isfinite(mr) || !std::isfinite(Mr) || !std::isfinite(L))
        rt::error(rt::utf8(st.rpm_not_finite));
    const double d = (Mr - mr) / steps;
    if (d == 0) rt::error(rt::utf8(st.rpm_band_empty));
    // Both ends exact, each half counted from its own end, as a range of the run-time is.
    Eigen::VectorXd f(steps + 1);
    for (int k = 0; k <= steps; ++k)
        f(k) = (2 * k < steps ? mr + k * d : Mr - (steps - k) * d) / 60 * L;
    return f;
}

double toneOverlapDivisor(Eigen::Index n) {
    const double d = static_cast<double>(n) / kToneRate;
    return std::max(1.0, std::ceil(std::log10(d / 2)));
}

double toneOverlap(Eigen::Index n) { return std::floor(kToneWindow * 0.9 / toneOverlapDivisor(n)); }

ToneSpectrum toneSpectrum(const Eigen::VectorXd& x, const Eigen::VectorXd& freq,
                          std::optional<double> noverlap) {
    sig::SpecgramResult s = sig::specgram(x, freq, kToneRate, kToneWindow,
                                          noverlap ? *noverlap : std::ceil(kToneWindow / 2));
    ToneSpectrum r;
    r.B = std::move(s.B);
    r.F = std::move(s.F);
    r.t = s.T.array() + kToneCentre;
    const Eigen::Index slices = r.B.cols();
    r.peak.resize(slices);
    r.track.resize(slices);
    for (Eigen::Index c = 0; c < slices; ++c) {
        const Eigen::Index row = sig::strongestRow(r.B.col(c).data(), r.B.rows());
        r.peak(c) = static_cast<int>(row);
        r.track(c) = r.F(row);
    }
    return r;
}

ToneSeries wav2v(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double l, double L,
                 double mr, double Mr) {
    const Eigen::VectorXd freq = toneGrid(mr, Mr, L, 1500);
    const Eigen::VectorXd x = toneSignal(Y, FS);
    // Only the strongest frequency of each slice is wanted: the spectrum is not kept.
    const sig::SpecgramPeaks p =
        sig::specgramPeaks(x, freq, kToneRate, kToneWindow, toneOverlap(x.size()));
    ToneSeries r{p.T.array() + kToneCentre, Eigen::VectorXd(p.row.size())};
    for (Eigen::Index c = 0; c < p.row.size(); ++c) r.v(c) = freq(p.row(c)) / l;
    return r;
}

ToneSeries wav2v(const Eigen::VectorXd& f, const Eigen::VectorXd& t, double l) {
    return {t, f / l};
}

void register_wav2v(rt::FunctionTable& table) {
    table.add("wav2v", 9, 2, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 7) rt::error("Not enough input arguments.");
        const auto number = [&](std::size_t i) { return in[i].scalar(); };
        const double l = number(2);
        if (in.size() > 7 && !in[7].isEmpty()) {
            if (in.size() < 9) rt::error("Not enough input arguments.");
            return {in[8], rt::fromMatrix(rt::toMatrix(in[7]) / l)};
        }
        ToneSeries r = wav2v(*rt::MatrixView(in[0]), number(1), l, number(3), number(5), number(6));
        return {rt::fromMatrix(r.t), rt::fromMatrix(r.v)};
    });
}

}  // namespace evaluation

// specgram on its three paths, its checks, and czt.
#include "signal/specgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "signal/czt.h"
#include "signal/hanning.h"
#include "warnings.h"

namespace {

constexpr double kPi = 3.141592653589793;
using cd = std::complex<double>;

Eigen::VectorXd noise(Eigen::Index n, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> nd;
    Eigen::VectorXd v(n);
    for (Eigen::Index i = 0; i < n; ++i) v(i) = nd(gen);
    return v;
}

// The windowed slices transformed at each frequency, by the definition.
Eigen::MatrixXcd directDft(const Eigen::VectorXd& x, const Eigen::VectorXd& win, double noverlap,
                           const Eigen::VectorXd& f, double Fs) {
    const Eigen::Index nwind = win.size(), step = nwind - Eigen::Index(noverlap);
    const Eigen::Index ncol = (x.size() - Eigen::Index(noverlap)) / step;
    Eigen::MatrixXcd B(f.size(), ncol);
    for (Eigen::Index c = 0; c < ncol; ++c)
        for (Eigen::Index i = 0; i < f.size(); ++i) {
            cd s = 0;
            for (Eigen::Index r = 0; r < nwind; ++r)
                s += win(r) * x(c * step + r) * std::polar(1.0, -2 * kPi * f(i) * double(r) / Fs);
            B(i, c) = s;
        }
    return B;
}

Eigen::VectorXd grid(double f1, double df, Eigen::Index n) {
    Eigen::VectorXd f(n);
    for (Eigen::Index i = 0; i < n; ++i) f(i) = f1 + df * double(i);
    return f;
}

TEST(Specgram, SliceCountsAndTimesOfFiveSeconds) {
    const sig::SpecgramResult r =
        sig::specgram(noise(5 * 8820, 1), grid(25, 0.5, 301), 8820, 3528, 1764);
    ASSERT_EQ(r.T.size(), 24);
    EXPECT_EQ(r.B.cols(), 24);
    EXPECT_EQ(r.B.rows(), 301);
    for (Eigen::Index c = 0; c < 24; ++c) EXPECT_NEAR(r.T(c), 0.2 * double(c), 1e-12);
    EXPECT_EQ(r.F, grid(25, 0.5, 301));
}

TEST(Specgram, ShortSignalIsOneZeroPaddedSlice) {
    const Eigen::VectorXd x = noise(50, 2);
    const sig::SpecgramResult r = sig::specgram(x, grid(10, 1, 30), 1000, 64, 10);
    ASSERT_EQ(r.T.size(), 1);
    EXPECT_EQ(r.T(0), 0);
    Eigen::VectorXd padded = Eigen::VectorXd::Zero(64);
    padded.head(50) = x;
    EXPECT_LT((r.B - directDft(padded, sig::hanning(64), 10, grid(10, 1, 30), 1000))
                  .cwiseAbs()
                  .maxCoeff(),
              1e-11);
}

TEST(Specgram, TwentyFrequenciesGoDirectTwentyOneByChirpBothMatchTheDft) {
    const double Fs = 8820;
    const Eigen::VectorXd x = noise(6000, 3);
    const Eigen::VectorXd win = sig::hanning(512);
    for (Eigen::Index m : {20, 21, 301}) {
        const Eigen::VectorXd f = grid(25, 0.51666666666666666, m);
        EXPECT_EQ(sig::specgramPath(f, Fs),
                  m > 20 ? sig::SpecgramPath::ChirpZ : sig::SpecgramPath::Direct);
        for (double noverlap : {256.0, 100.0, 0.0}) {
            const sig::SpecgramResult r = sig::specgram(x, f, Fs, 512, noverlap);
            const Eigen::MatrixXcd want = directDft(x, win, noverlap, f, Fs);
            ASSERT_EQ(r.B.rows(), want.rows());
            ASSERT_EQ(r.B.cols(), want.cols()) << m << " " << noverlap;
            EXPECT_LT((r.B - want).cwiseAbs().maxCoeff(), 1e-9) << m << " " << noverlap;
        }
    }
    // Uneven spacing (steps differing by 1e-12 Fs) is not evenly spaced.
    Eigen::VectorXd uneven = grid(25, 0.5, 30);
    uneven(29) += 1e-12 * Fs;
    EXPECT_EQ(sig::specgramPath(uneven, Fs), sig::SpecgramPath::Direct);
    uneven(29) -= 0.5e-12 * Fs;
    EXPECT_EQ(sig::specgramPath(uneven, Fs), sig::SpecgramPath::ChirpZ);
    EXPECT_EQ(sig::specgramPath(Eigen::VectorXd::Constant(1, 256), Fs), sig::SpecgramPath::Fft);
}

TEST(Specgram, FftPathRowsAndFrequencies) {
    sig::SpecgramArgs a;
    a.x = noise(1000, 4).cast<cd>();
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    a.Fs = 1000;
    sig::SpecgramResult r = sig::specgram(a);
    ASSERT_EQ(r.B.rows(), 129);
    EXPECT_EQ(r.F(128), 500);
    EXPECT_EQ(r.F(1), 1000.0 / 256);
    EXPECT_EQ(r.B.cols(), (1000 - 128) / 128);  // default overlap ceil(256/2)
    a.nfft = Eigen::VectorXd::Constant(1, 255);
    EXPECT_EQ(sig::specgram(a).B.rows(), 128);
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    a.x(3) = cd(1, 1);
    a.xReal = false;
    EXPECT_EQ(sig::specgram(a).B.rows(), 256);
    // Everything defaulted: nfft = min(length, 256), Fs = 2, Hann window of nfft.
    sig::SpecgramArgs d;
    d.x = noise(100, 5).cast<cd>();
    r = sig::specgram(d);
    EXPECT_EQ(r.B.rows(), 51);
    EXPECT_EQ(r.B.cols(), 1);
    EXPECT_EQ(r.F(50), 1);
}

TEST(Specgram, ChirpRowsAtTheEndFrequenciesExactly) {
    const Eigen::VectorXd x = noise(4000, 6);
    const Eigen::VectorXd f = grid(100, 7, 40);
    const sig::SpecgramResult r = sig::specgram(x, f, 8000, 300, 150);
    Eigen::VectorXd ends(2);
    ends << f(0), f(39);
    const Eigen::MatrixXcd want = directDft(x, sig::hanning(300), 150, ends, 8000);
    EXPECT_LT((r.B.row(0) - want.row(0)).cwiseAbs().maxCoeff(), 1e-10);
    EXPECT_LT((r.B.row(39) - want.row(1)).cwiseAbs().maxCoeff(), 1e-10);
}

TEST(Specgram, ChecksReportTheLastFailure) {
    const auto msgOf = [](sig::SpecgramArgs a) { return sig::specgramchk(a).msg; };
    sig::SpecgramArgs a;
    a.x = noise(1000, 7).cast<cd>();
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    a.window = sig::hanning(3);
    a.noverlap = 3.5;  // fails (b) and (d)
    EXPECT_EQ(msgOf(a), "Requires positive integer value for NOVERLAP.");
    a.noverlap = 3;
    EXPECT_EQ(msgOf(a), "Requires NOVERLAP to be strictly less than the window length.");
    a.noverlap = 1;
    a.nfft = Eigen::VectorXd::Constant(1, 2.5);  // fails (a) and (c)
    EXPECT_EQ(msgOf(a), "Requires positive integer values for NFFT.");
    a.nfft = Eigen::VectorXd::Constant(1, 2);
    EXPECT_EQ(msgOf(a), "Requires window's length to be no greater than the FFT length.");
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    EXPECT_EQ(msgOf(a), "");
    a.noverlap = -1;
    EXPECT_EQ(msgOf(a), "Requires positive integer value for NOVERLAP.");
    a.x = Eigen::MatrixXcd::Zero(10, 2);  // (e) wins over (d)
    EXPECT_EQ(msgOf(a), "Requires vector (either row or column) input.");
    EXPECT_EQ(errorOf([&] { sig::specgram(a); }), "Requires vector (either row or column) input.");

    sig::SpecgramArgs list;
    list.x = noise(100, 8).cast<cd>();
    list.nfft = grid(1, 1, 5);
    EXPECT_EQ(errorOf([&] { sig::specgramchk(list); }), "You must specify a window function.");
    list.window = Eigen::VectorXd::Constant(1, 3528);
    const sig::SpecgramChecked c = sig::specgramchk(list);
    EXPECT_EQ(c.window.size(), 3528);
    EXPECT_EQ(c.noverlap, 1764);
    // An empty list is refused before a transform reads its first steps.
    list.nfft = Eigen::VectorXd();
    const std::string none = "Requires at least one frequency.";
    EXPECT_EQ(sig::specgramchk(list).msg, none);
    EXPECT_EQ(errorOf([&] { sig::specgram(list); }), none);
    EXPECT_EQ(
        errorOf([&] { sig::specgramPeaks(noise(4000, 8), Eigen::VectorXd(), 8820, 3528, 3175); }),
        none);
}

TEST(Czt, ShapesAndDefaultIsTheDft) {
    const Eigen::VectorXd v = noise(10, 9);
    const Eigen::MatrixXcd row = sig::czt(Eigen::MatrixXcd(v.transpose().cast<cd>()));
    ASSERT_EQ(row.rows(), 1);
    ASSERT_EQ(row.cols(), 10);
    for (Eigen::Index k = 0; k < 10; ++k) {
        cd s = 0;
        for (Eigen::Index r = 0; r < 10; ++r)
            s += v(r) * std::polar(1.0, -2 * kPi * double(k * r) / 10);
        EXPECT_LT(std::abs(row(0, k) - s), 1e-12);
    }
    Eigen::MatrixXcd m(10, 2);
    m.col(0) = v.cast<cd>();
    m.col(1) = v.reverse().cast<cd>();
    const Eigen::MatrixXcd g = sig::czt(m, 4.0);
    ASSERT_EQ(g.rows(), 4);
    ASSERT_EQ(g.cols(), 2);
    // With k given, the default w spaces the k points around the circle: w = e^(-j 2 pi/k).
    cd s = 0;
    for (Eigen::Index r = 0; r < 10; ++r) s += v(9 - r) * std::polar(1.0, -2 * kPi * double(r) / 4);
    EXPECT_LT(std::abs(g(1, 1) - s), 1e-12);
}

// A rising tone, a steady one and noise from the generator's raw output, 3 s at 8820 Hz.
Eigen::VectorXd analysisSignal() {
    std::mt19937 gen(5);
    Eigen::VectorXd x(3 * 8820);
    for (Eigen::Index n = 0; n < x.size(); ++n) {
        const double t = double(n) / 8820;
        x(n) = 0.5 * std::sin(2 * kPi * (150 * t + 40 * t * t)) +
               0.2 * std::sin(2 * kPi * 411.7 * t + 1) + 0.2 * (double(gen()) / 4294967296.0 - 0.5);
    }
    return x;
}

// Entries of the tone analysis's spectrogram (1501 and 301 frequencies over 25 … 800 Hz,
// 3528-sample slices 353 apart), recorded from the chirp-z transform as it stood with FFTs of
// 8192 and 4096 points; the definition agrees with each within 1e-10.
struct RecordedEntry {
    Eigen::Index m, row, col;
    cd value;
};
const RecordedEntry kRecorded[] = {
    {1501, 0, 0, {2.9985495861847271, 0.65688798351630062}},
    {1501, 0, 17, {-0.80247772783328308, 0.10289027136383626}},
    {1501, 0, 64, {0.36312262921883504, -2.0767994193726631}},
    {1501, 250, 0, {24.747483288317479, -43.696083486893691}},
    {1501, 250, 17, {-2.0838333178461621, -2.1073400405902296}},
    {1501, 250, 64, {0.086914393398294043, -0.79459770211030933}},
    {1501, 500, 0, {3.5414088590953998, 0.769417228780928}},
    {1501, 500, 17, {-1.0191615184596408, -0.74155263439487151}},
    {1501, 500, 64, {3.1070056185484547, 1.5375943332341537}},
    {1501, 750, 0, {0.94959052340318095, -166.39351527805823}},
    {1501, 750, 17, {109.91721619308296, -126.73456059874015}},
    {1501, 750, 64, {-48.994749320938695, 157.11260614989752}},
    {1501, 1125, 0, {1.8869037775633024, -0.71841871211530506}},
    {1501, 1125, 17, {1.3465113978810859, -1.6721659496645898}},
    {1501, 1125, 64, {-1.7918849606414977, -0.14544401716086186}},
    {1501, 1500, 0, {0.18236666800244694, 0.8035538603629242}},
    {1501, 1500, 17, {0.028488705142397208, -4.3960470611711528}},
    {1501, 1500, 64, {1.2099445469575305, -0.41054024916545745}},
    {301, 0, 0, {2.998549586184728, 0.65688798351629796}},
    {301, 0, 17, {-0.80247772783329063, 0.10289027136384304}},
    {301, 0, 64, {0.36312262921883398, -2.0767994193726715}},
    {301, 50, 0, {24.747483288592548, -43.696083487070752}},
    {301, 50, 17, {-2.0838333178811173, -2.1073400406207314}},
    {301, 50, 64, {0.086914393390893907, -0.7945977021183499}},
    {301, 100, 0, {3.5414088591871193, 0.7694172288049751}},
    {301, 100, 17, {-1.0191615184971279, -0.74155263444613695}},
    {301, 100, 64, {3.1070056186172583, 1.537594333272956}},
    {301, 150, 0, {0.94959052249578946, -166.3935152856032}},
    {301, 150, 17, {109.91721619733568, -126.73456060511523}},
    {301, 150, 64, {-48.994749322200356, 157.11260615731044}},
    {301, 225, 0, {1.8869037776902198, -0.718418712156904}},
    {301, 225, 17, {1.3465113979425458, -1.6721659498018417}},
    {301, 225, 64, {-1.7918849607398006, -0.14544401720222722}},
    {301, 300, 0, {0.18236666802768225, 0.803553860454575}},
    {301, 300, 17, {0.028488705194239072, -4.396047061553058}},
    {301, 300, 64, {1.2099445470872832, -0.41054024923814214}},
};

TEST(Specgram, AnalysisGridsKeepTheirRecordedAnswers) {
    const Eigen::VectorXd x = analysisSignal();
    const Eigen::VectorXd win = sig::hanning(3528);
    for (Eigen::Index m : {1501, 301}) {
        const Eigen::VectorXd f = grid(25, 775.0 / double(m - 1), m);
        const sig::SpecgramResult r = sig::specgram(x, f, 8820, 3528, 3175);
        ASSERT_EQ(r.B.cols(), 65);
        for (const RecordedEntry& e : kRecorded) {
            if (e.m != m) continue;
            const cd got = r.B(e.row, e.col);
            EXPECT_LE(std::abs(got - e.value), 1e-9 * std::abs(e.value))
                << m << " " << e.row << " " << e.col << ": " << got;
            // The definition, at the same frequency and slice.
            cd dft = 0;
            for (Eigen::Index n = 0; n < 3528; ++n)
                dft += win(n) * x(e.col * 353 + n) *
                       std::polar(1.0, -2 * kPi * f(e.row) * double(n) / 8820);
            EXPECT_LE(std::abs(got - dft), 1e-9 * std::abs(dft)) << m << " " << e.row;
        }
    }
}

// The strongest rows without the spectrum are those the spectrum shows, on the chirp-z
// path and on the others (a short list, a signal shorter than a slice).
TEST(Specgram, PeaksWithoutTheSpectrumAreTheSpectrumsPeaks) {
    const Eigen::VectorXd x = analysisSignal();
    for (Eigen::Index m : {1501, 20})
        for (Eigen::Index n : {x.size(), Eigen::Index(3000)}) {
            const Eigen::VectorXd f = grid(25, 775.0 / double(m - 1), m);
            const Eigen::VectorXd part = x.head(n);
            const sig::SpecgramResult r = sig::specgram(part, f, 8820, 3528, 3175);
            const sig::SpecgramPeaks p = sig::specgramPeaks(part, f, 8820, 3528, 3175);
            ASSERT_EQ(p.row.size(), r.B.cols()) << m << " " << n;
            EXPECT_EQ(p.T, r.T);
            for (Eigen::Index c = 0; c < r.B.cols(); ++c) {
                Eigen::Index row = 0;
                r.B.col(c).cwiseAbs2().maxCoeff(&row);
                EXPECT_EQ(p.row(c), row) << m << " " << n << " slice " << c;
            }
        }
}

}  // namespace

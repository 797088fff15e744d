#include "signal/specgram.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <type_traits>
#include <utility>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/jet.h"
#include "runtime/graphics/operations.h"
#include "runtime/numeric/fft.h"
#include "runtime/numeric/upfirdn_kernel.h"
#include "runtime/value/eigen.h"
#include "signal/czt.h"
#include "signal/hanning.h"
#include "signal/imagesc.h"
#include "signal/xlabel.h"
#include "signal/ylabel.h"

namespace sig {

namespace {

using cd = std::complex<double>;

bool notNonNegativeInteger(double v) { return v != std::fabs(std::round(v)); }

// The signal as one column, zero-padded to at least n samples.
template <class Vec, class Scalar>
Vec column(const Scalar* data, Eigen::Index size, Eigen::Index n) {
    Vec c = Vec::Zero(std::max(size, n));
    for (Eigen::Index i = 0; i < size; ++i) {
        if constexpr (std::is_same_v<typename Vec::Scalar, double>)
            c(i) = std::real(data[i]);
        else
            c(i) = data[i];
    }
    return c;
}

template <class Vec>
Eigen::MatrixXcd fftPath(const Vec& x, bool real, const Eigen::VectorXd& win, Eigen::Index nfft,
                         const Eigen::VectorXi& colindex, double Fs, Eigen::VectorXd& F) {
    const Eigen::Index nwind = win.size(), ncol = colindex.size();
    Eigen::MatrixXcd y = Eigen::MatrixXcd::Zero(nfft, ncol);
    for (Eigen::Index c = 0; c < ncol; ++c)
        for (Eigen::Index r = 0; r < nwind; ++r) y(r, c) = win(r) * x(r + colindex(c));
    rt::fftInPlace(y.data(), nfft, ncol, false);
    const Eigen::Index keep = !real ? nfft : (nfft % 2 ? (nfft + 1) / 2 : nfft / 2 + 1);
    F.resize(keep);
    for (Eigen::Index i = 0; i < keep; ++i)
        F(i) = static_cast<double>(i) * Fs / static_cast<double>(nfft);
    return y.topRows(keep);
}

// The chirp-z transform's w and a for an evenly spaced list of frequencies.
std::pair<cd, cd> spiral(const Eigen::VectorXd& f, double Fs) {
    const Eigen::Index m = f.size();
    const double f1 = f(0), f2 = f(m - 1);
    return {std::exp(cd(0, -2 * std::numbers::pi * (f2 - f1) / (static_cast<double>(m - 1) * Fs))),
            std::exp(cd(0, 2 * std::numbers::pi * f1 / Fs))};
}

template <class Vec>
Eigen::MatrixXcd chirpPath(const Vec& x, const Eigen::VectorXd& win, const Eigen::VectorXd& f,
                           double Fs, const Eigen::VectorXi& colindex) {
    const Eigen::Index m = f.size();
    const auto [w, a] = spiral(f, Fs);
    if constexpr (std::is_same_v<typename Vec::Scalar, double>) {
        return cztSlices(x.data(), win, colindex, m, w, a);
    } else {
        const Eigen::Index nwind = win.size();
        return cztColumns(nwind, colindex.size(), m, w, a, [&](Eigen::Index c, cd* dst) {
            const auto* src = x.data() + colindex(c);
            for (Eigen::Index r = 0; r < nwind; ++r) dst[r] = win(r) * src[r];
        });
    }
}

// A bank of one FIR filter per frequency, run over the signal with the slice step as the
// decimation. Tap r meets the sample nwind-1-r places after the slice start, so it
// carries the window value of that sample: all three paths then weight a slice alike.
template <class Vec>
Eigen::MatrixXcd directPath(const Vec& x, const Eigen::VectorXd& win, const Eigen::VectorXd& f,
                            double Fs, double noverlap, Eigen::Index ncol) {
    const Eigen::Index nwind = win.size();
    const Eigen::Index q = nwind - static_cast<Eigen::Index>(noverlap);
    const Eigen::Index extras = nwind / q;
    const Eigen::Index pad = q - nwind % q + 1;
    Eigen::MatrixXcd xp = Eigen::MatrixXcd::Zero(x.size() + pad, 1);
    xp.bottomRows(x.size()) = x.template cast<cd>();
    Eigen::MatrixXcd D(nwind, f.size());
    for (Eigen::Index i = 0; i < f.size(); ++i)
        for (Eigen::Index r = 0; r < nwind; ++r)
            D(r, i) =
                win(nwind - 1 - r) * std::exp(cd(0, -2 * std::numbers::pi * f(i) *
                                                        static_cast<double>(nwind - 1 - r) / Fs));
    const Eigen::MatrixXcd y = rt::upfirdn(xp, D, 1, static_cast<double>(q));
    const Eigen::Index keep = std::min(ncol, y.rows() - 2 * extras - 1);
    return y.middleRows(extras + 1, keep).transpose();
}

}  // namespace

SpecgramPath specgramPath(const Eigen::VectorXd& nfft, double Fs) {
    if (nfft.size() == 1) return SpecgramPath::Fft;
    const double df0 = nfft(1) - nfft(0);
    for (Eigen::Index i = 1; i < nfft.size(); ++i)
        if (!(std::fabs(nfft(i) - nfft(i - 1) - df0) / Fs < 1e-12)) return SpecgramPath::Direct;
    return nfft.size() > 20 ? SpecgramPath::ChirpZ : SpecgramPath::Direct;
}

namespace {

// specgramchk for a signal of the given shape (args.x is not read).
SpecgramChecked check(const SpecgramArgs& args, Eigen::Index rows, Eigen::Index cols) {
    SpecgramChecked c;
    const Eigen::Index lenx = rows * cols == 0 ? 0 : std::max(rows, cols);
    c.nfft = args.nfft ? *args.nfft
                       : Eigen::VectorXd::Constant(
                             1, static_cast<double>(std::min<Eigen::Index>(lenx, 256)));
    c.Fs = args.Fs ? *args.Fs : 2.0;
    const bool single = c.nfft.size() == 1;
    if (args.window) {
        c.window = *args.window;
    } else {
        if (!single) rt::error("You must specify a window function.");
        c.window = hanning(c.nfft(0));
    }
    if (c.window.size() == 1) c.window = hanning(c.window(0));
    const double nwind = static_cast<double>(c.window.size());
    c.noverlap = args.noverlap ? *args.noverlap : std::ceil(nwind / 2);

    if (single && c.nfft(0) < nwind)
        c.msg = "Requires window's length to be no greater than the FFT length.";
    if (c.noverlap >= nwind)
        c.msg = "Requires NOVERLAP to be strictly less than the window length.";
    if (single && notNonNegativeInteger(c.nfft(0)))
        c.msg = "Requires positive integer values for NFFT.";
    if (notNonNegativeInteger(c.noverlap)) c.msg = "Requires positive integer value for NOVERLAP.";
    // The transforms read the list's first steps.
    if (c.nfft.size() == 0) c.msg = "Requires at least one frequency.";
    if (std::min(rows, cols) != 1) c.msg = "Requires vector (either row or column) input.";
    return c;
}

// The 0-based starts of the slices of a signal of nx samples (at least a window).
Eigen::VectorXi sliceStarts(Eigen::Index nx, const SpecgramChecked& c) {
    const Eigen::Index nwind = c.window.size();
    const Eigen::Index step = nwind - static_cast<Eigen::Index>(c.noverlap);
    const Eigen::Index ncol = (nx - static_cast<Eigen::Index>(c.noverlap)) / step;
    Eigen::VectorXi colindex(ncol);
    for (Eigen::Index i = 0; i < ncol; ++i) colindex(i) = static_cast<int>(i * step);
    return colindex;
}

Eigen::VectorXd startTimes(const Eigen::VectorXi& colindex, double Fs) {
    Eigen::VectorXd T(colindex.size());
    for (Eigen::Index i = 0; i < colindex.size(); ++i) T(i) = static_cast<double>(colindex(i)) / Fs;
    return T;
}

// x: the signal as a column of at least the window's length.
template <class Vec>
SpecgramResult compute(const Vec& x, bool real, const SpecgramChecked& c) {
    const Eigen::VectorXi colindex = sliceStarts(x.size(), c);
    SpecgramResult r;
    switch (specgramPath(c.nfft, c.Fs)) {
        case SpecgramPath::Fft:
            r.B = fftPath(x, real, c.window, static_cast<Eigen::Index>(c.nfft(0)), colindex, c.Fs,
                          r.F);
            break;
        case SpecgramPath::ChirpZ:
            r.F = c.nfft;
            r.B = chirpPath(x, c.window, c.nfft, c.Fs, colindex);
            break;
        case SpecgramPath::Direct:
            r.F = c.nfft;
            r.B = directPath(x, c.window, c.nfft, c.Fs, c.noverlap, colindex.size());
            break;
    }
    r.T = startTimes(colindex, c.Fs);
    return r;
}

}  // namespace

SpecgramChecked specgramchk(const SpecgramArgs& args) {
    return check(args, args.x.rows(), args.x.cols());
}

namespace {

// The spectrogram of the rows x cols elements at `data` (args.x is not read). Real samples
// are read in place when they fill at least one window.
template <class Scalar>
SpecgramResult run(const Scalar* data, Eigen::Index rows, Eigen::Index cols, bool real,
                   const SpecgramArgs& args) {
    const SpecgramChecked c = check(args, rows, cols);
    rt::error(c.msg);
    const Eigen::Index n = rows * cols, nwind = c.window.size();
    if constexpr (std::is_same_v<Scalar, double>) {
        if (n >= nwind) return compute(Eigen::Map<const Eigen::VectorXd>(data, n), true, c);
    }
    if (real) return compute(column<Eigen::VectorXd>(data, n, nwind), true, c);
    return compute(column<Eigen::VectorXcd>(data, n, nwind), false, c);
}

}  // namespace

SpecgramResult specgram(const SpecgramArgs& args) {
    return run(args.x.data(), args.x.rows(), args.x.cols(), args.xReal, args);
}

namespace {

SpecgramArgs analysisArgs(const Eigen::VectorXd& freqs, double Fs, double windowLength,
                          double noverlap) {
    SpecgramArgs a;
    a.nfft = freqs;
    a.Fs = Fs;
    a.window = Eigen::VectorXd::Constant(1, windowLength);
    a.noverlap = noverlap;
    return a;
}

}  // namespace

Eigen::Index strongestRow(const cd* v, Eigen::Index n) {
    if (n == 0) return 0;
    Eigen::Index row = 0;
    double best = v[0].real() * v[0].real() + v[0].imag() * v[0].imag();
    for (Eigen::Index i = 1; i < n; ++i) {
        const double m = v[i].real() * v[i].real() + v[i].imag() * v[i].imag();
        if (m > best) best = m, row = i;
    }
    return row;
}

SpecgramResult specgram(const Eigen::Ref<const Eigen::VectorXd>& x, const Eigen::VectorXd& freqs,
                        double Fs, double windowLength, double noverlap) {
    return run(x.data(), x.rows(), 1, true, analysisArgs(freqs, Fs, windowLength, noverlap));
}

SpecgramPeaks specgramPeaks(const Eigen::Ref<const Eigen::VectorXd>& x,
                            const Eigen::VectorXd& freqs, double Fs, double windowLength,
                            double noverlap) {
    const SpecgramArgs a = analysisArgs(freqs, Fs, windowLength, noverlap);
    const SpecgramChecked c = check(a, x.rows(), 1);
    rt::error(c.msg);
    SpecgramPeaks p;
    if (x.size() < c.window.size() || specgramPath(c.nfft, c.Fs) != SpecgramPath::ChirpZ) {
        const SpecgramResult r = run(x.data(), x.rows(), 1, true, a);
        p.row.resize(r.B.cols());
        for (Eigen::Index col = 0; col < r.B.cols(); ++col)
            p.row(col) = static_cast<int>(strongestRow(r.B.col(col).data(), r.B.rows()));
        p.T = r.T;
        return p;
    }
    const Eigen::VectorXi starts = sliceStarts(x.size(), c);
    const auto [w, aa] = spiral(c.nfft, c.Fs);
    p.row.resize(starts.size());
    cztSliceMagnitudes(x.data(), c.window, starts, c.nfft.size(), w, aa,
                       [&](Eigen::Index col, const cd* g) {
                           p.row(col) = static_cast<int>(strongestRow(g, c.nfft.size()));
                       });
    p.T = startTimes(starts, c.Fs);
    return p;
}

namespace {

// Without outputs the spectrogram is drawn in dB into a fresh plot, time across.
void draw(const SpecgramResult& r) {
    using rt::Value;
    rt::newplot();
    const Eigen::MatrixXd db =
        (r.B.cwiseAbs().array() + 2.220446049250313e-16).log10().matrix() * 20.0;
    Value t = r.T.size() > 1 || r.F.size() < 2
                  ? rt::rowVector(std::vector<double>(r.T.data(), r.T.data() + r.T.size()))
                  : Value::row({0, 1 / r.F(1)});
    imagesc({t, rt::rowVector(std::vector<double>(r.F.data(), r.F.data() + r.F.size())),
             rt::fromMatrix(db)});
    rt::axis({Value("xy")});
    rt::colormap(rt::jet());
    xlabel(Value("Time"));
    ylabel(Value("Frequency"));
}

}  // namespace

void register_specgram(rt::FunctionTable& t) {
    t.add("specgram", -1, 3, [](const rt::Values& in, int nargout) -> rt::Values {
        if (in.empty()) rt::error("Not enough input arguments.");
        if (in.size() > 5) rt::error("Too many input arguments.");
        const auto vec = [](const rt::Value& v) {
            const std::vector<double> d = rt::toVector(v);
            return Eigen::VectorXd(
                Eigen::Map<const Eigen::VectorXd>(d.data(), Eigen::Index(d.size())));
        };
        const auto present = [&](std::size_t i) { return in.size() > i && !in[i].isEmpty(); };
        const auto single = [&](std::size_t i) {
            if (!in[i].isScalar()) rt::error("specgram: Fs and NOVERLAP must be single numbers.");
            return in[i].scalar();
        };
        SpecgramArgs a;
        if (present(1)) a.nfft = vec(in[1]);
        if (present(2)) a.Fs = single(2);
        if (present(3)) a.window = vec(in[3]);
        if (present(4)) a.noverlap = single(4);
        const rt::Value& x = in[0];
        // A real signal (also one whose imaginary parts are all zero) is read in place.
        const bool real = !x.isComplex() || std::all_of(x.im().begin(), x.im().end(),
                                                        [](double v) { return v == 0; });
        SpecgramResult r;
        if (real) {
            const rt::MatrixView v(x);
            r = run(v->data(), v->rows(), v->cols(), true, a);
        } else {
            a.x = rt::toComplexMatrix(x);
            a.xReal = false;
            r = specgram(a);
        }
        if (nargout == 0) {
            draw(r);
            return {};
        }
        return {rt::fromMatrix(r.B), rt::fromMatrix(r.F), rt::fromMatrix(r.T)};
    });
}

}  // namespace sig

#include "signal/modulate.h"

#include <cctype>
#include <cmath>
#include <iostream>
#include <numbers>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/value/eigen.h"
#include "runtime/value/text_ops.h"
#include "signal/hilbert.h"

namespace sig {

namespace {

bool given(const ModulateParam& p) { return !std::holds_alternative<std::monostate>(p); }

double number(const ModulateParam& p) {
    const auto* m = std::get_if<Eigen::MatrixXd>(&p);
    if (!m || m->size() != 1) rt::error("modulate: the fifth input must be a single number here.");
    return (*m)(0);
}

void rangeTest(const Eigen::MatrixXd& x) {
    if (x.maxCoeff() > 1 || x.minCoeff() < 0) rt::error("  X out of range [0,1] ");
}

// Output samples of the pulse methods: len Fs/Fc, read as a colon count (a product that
// lands a rounding error below a whole number still counts that sample).
Eigen::Index pulseCount(Eigen::Index len, double Fc, double Fs) {
    const double v = static_cast<double>(len) * Fs / Fc;
    return static_cast<Eigen::Index>(std::floor(v + 1e-10 * std::max(1.0, v)));
}

Eigen::MatrixXd pwm(const Eigen::MatrixXd& x, double Fc, double Fs, bool centered) {
    const Eigen::Index len = x.rows();
    const Eigen::Index n = pulseCount(len, Fc, Fs);
    const double period = Fs / Fc;
    Eigen::MatrixXd y(n, x.cols());
    for (Eigen::Index c = 0; c < x.cols(); ++c) {
        for (Eigen::Index i = 0; i < n; ++i) {
            const double di = static_cast<double>(i);
            const Eigen::Index ind = std::min<Eigen::Index>(
                static_cast<Eigen::Index>(std::floor(di * Fc / Fs)), len - 1);
            const double modT = std::fmod(di, period) / period;
            if (!centered) {
                y(i, c) = modT < x(ind, c) ? 1 : 0;
            } else {
                const double next = ind + 1 < len ? x(ind + 1, c) : 0.0;
                y(i, c) = (modT < x(ind, c) / 2 ? 1 : 0) + (1 - modT <= next / 2 ? 1 : 0);
            }
        }
    }
    return y;
}

Eigen::MatrixXd ppm(const Eigen::MatrixXd& x, double Fc, double Fs, double width) {
    const Eigen::Index len = x.rows();
    const Eigen::Index n = pulseCount(len, Fc, Fs);
    const Eigen::Index w = static_cast<Eigen::Index>(std::floor(width * Fs / Fc));
    Eigen::MatrixXd y = Eigen::MatrixXd::Zero(n, x.cols());
    for (Eigen::Index c = 0; c < x.cols(); ++c)
        for (Eigen::Index i = 0; i < len; ++i) {
            const double start = std::ceil((static_cast<double>(i) + x(i, c)) * Fs / Fc);
            for (Eigen::Index s = 0; s < w; ++s) {
                const double at = start + static_cast<double>(s);
                if (at >= 0 && at < static_cast<double>(n)) y(static_cast<Eigen::Index>(at), c) = 1;
            }
        }
    return y;
}

}  // namespace

ModulateResult modulate(const Eigen::MatrixXd& xin, double Fc, double Fs, const std::string& m,
                        const ModulateParam& P1) {
    if (Fc >= Fs / 2)
        rt::error("The carrier frequency must be less than half the sampling frequency.");
    ModulateResult out;
    if (xin.size() == 0) {
        out.y = Eigen::MatrixXd(0, 0);
        return out;
    }
    const bool row = xin.rows() == 1;
    const Eigen::MatrixXd x = row ? Eigen::MatrixXd(xin.transpose()) : xin;
    const Eigen::Index len = x.rows();
    const std::string method = rt::lowerAscii(m);

    Eigen::MatrixXd t(len, x.cols());
    for (Eigen::Index i = 0; i < len; ++i) t.row(i).setConstant(static_cast<double>(i) / Fs);
    const Eigen::ArrayXXd carrier = (2 * std::numbers::pi * Fc * t.array()).cos();
    const auto sine = [&] { return (2 * std::numbers::pi * Fc * t.array()).sin(); };
    Eigen::MatrixXd y;
    bool assigned = true;

    if (method == "am" || method == "amdsb-sc") {
        y = (x.array() * carrier).matrix();
    } else if (method == "amdsb-tc") {
        const double offset = given(P1) ? number(P1) : x.minCoeff();
        y = ((x.array() - offset) * carrier).matrix();
    } else if (method == "amssb") {
        y = (x.array() * carrier + hilbert(x).imag().array() * sine()).matrix();
    } else if (method == "fm") {
        double kf = 0;
        if (given(P1)) {
            kf = number(P1);
        } else {
            const double xmax = x.cwiseAbs().maxCoeff();
            kf = xmax > 0 ? (Fc / Fs) * 2 * std::numbers::pi / xmax : 0;
        }
        Eigen::MatrixXd cum(len, x.cols());
        for (Eigen::Index c = 0; c < x.cols(); ++c) {
            double s = 0;
            for (Eigen::Index i = 0; i < len; ++i) cum(i, c) = (s += x(i, c));
        }
        y = (2 * std::numbers::pi * Fc * t.array() + kf * cum.array()).cos().matrix();
    } else if (method == "pm") {
        double kp = 0;
        if (given(P1)) {
            kp = number(P1);
        } else {
            const double xmax = x.cwiseAbs().maxCoeff();
            kp = xmax > 0 ? std::numbers::pi / xmax : 0;
        }
        y = (2 * std::numbers::pi * Fc * t.array() + kp * x.array()).cos().matrix();
    } else if (method == "pwm") {
        rangeTest(x);
        bool centered = false;
        if (given(P1)) {
            const auto* s = std::get_if<std::string>(&P1);
            const std::string opt = s ? rt::lowerAscii(*s) : std::string();
            if (opt == "centered")
                centered = true;
            else if (opt != "left")
                rt::error(" 5th input parameter not recognized");
        }
        y = pwm(x, Fc, Fs, centered);
        t.resize(y.rows(), 1);
        for (Eigen::Index i = 0; i < y.rows(); ++i) t(i, 0) = static_cast<double>(i) / Fs;
    } else if (method == "ppm" || method == "ptm") {
        rangeTest(x);
        const double width = given(P1) ? number(P1) : 0.1;
        if (width >= 1 || width <= 0) rt::error("  Pulse duration out of range (0,1) ");
        if (x.maxCoeff() > 1 - width) std::cout << "Warning: some pulses may overlap!" << std::endl;
        y = ppm(x, Fc, Fs, width);
        t.resize(y.rows(), 1);
        for (Eigen::Index i = 0; i < y.rows(); ++i) t(i, 0) = static_cast<double>(i) / Fs;
    } else if (method == "qam") {
        if (!given(P1)) rt::error("  For 'qam', a 5th input parameter is required.");
        const auto* m2 = std::get_if<Eigen::MatrixXd>(&P1);
        if (!m2) rt::error("  For 'qam', input signals must be the same size");
        const Eigen::MatrixXd x2 = m2->rows() == 1 ? Eigen::MatrixXd(m2->transpose()) : *m2;
        if (x2.rows() != x.rows() || x2.cols() != x.cols())
            rt::error("  For 'qam', input signals must be the same size");
        y = (x.array() * carrier + x2.array() * sine()).matrix();
    } else {
        assigned = false;  // no such method: y stays unassigned
    }

    Eigen::MatrixXd t1 = t.col(0);
    if (row) {
        y.transposeInPlace();
        t1.transposeInPlace();
    }
    if (assigned) out.y = y;
    out.t = t1;
    return out;
}

void register_modulate(rt::FunctionTable& t) {
    t.add("modulate", 5, 2, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 3) rt::error("Not enough input arguments.");
        std::string method = "am";
        if (in.size() > 3) {
            if (!in[3].isChar()) rt::error("modulate: METHOD must be a text.");
            method = in[3].text();
        }
        ModulateParam p1;
        if (in.size() > 4) {
            if (in[4].isChar())
                p1 = in[4].text();
            else
                p1 = rt::toMatrix(in[4]);
        }
        const ModulateResult r =
            modulate(rt::toMatrix(in[0]), in[1].scalar(), in[2].scalar(), method, p1);
        if (!r.y) return {};
        if (!r.t) return {rt::fromMatrix(*r.y)};
        return {rt::fromMatrix(*r.y), rt::fromMatrix(*r.t)};
    });
}

}  // namespace sig

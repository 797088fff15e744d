#include "evaluation/curves.h"

#include <cmath>
#include <string>

#include "runtime/dispatch/error.h"
#include "shell/axis_choices.h"
#include "shell/get_par.h"
#include "shell/strings.h"
#include "signal/butter.h"
#include "signal/filtfilt.h"

namespace evaluation {

namespace {

using Row = Eigen::RowVectorXd;

// The constants are the rounded values the results have always been computed with: they are
// meant as they stand, so that a run evaluated again gives the same curves as before.

// π to four decimals, for the drum's angular speed (not std::numbers::pi: see above).
constexpr double kPi = 3.1416;
// Half the density of air [kg/m³] in the drag ½·ρ·cw·A·v², taken as 1.3 kg/m³; the power is
// brought to standard air afterwards by the air correction factor.
constexpr double kHalfAirDensity = 0.65;
// Standard gravity [m/s²], for the rolling resistance m·g·fro.
constexpr double kGravity = 9.81;
// Metric horsepower per kilowatt (1 PS = 735.49875 W).
constexpr double kPsPerKw = 1.35962;
// Torque [Nm] from power [PS] over engine speed [1/min]: 735.49875·60/(2·π) ≈ 7023.4, rounded.
constexpr double kNmPerPsOverRpm = 7024;

// The low-pass's order; the forward-backward filter needs more than three times as many samples.
constexpr int kLowpassOrder = 3;

void need_samples(Eigen::Index n, Eigen::Index least = 3) {
    if (n < least) rt::error(rt::utf8(shell::text_table().run_too_short));
}

// diff(x) with a first element 2·d(1) − d(2) in front, so that it has x's length.
Row extended_diff(const Row& x) {
    const Eigen::Index n = x.size();
    need_samples(n);
    Row d(n);
    d.tail(n - 1) = x.tail(n - 1) - x.head(n - 1);
    d(0) = 2 * d(1) - d(2);
    return d;
}

// The time steps: diff(t) with the same first element, except that a first step extrapolated to
// zero or below (a pulse channel whose second interval is twice its first, as after one missed
// pulse) is the first measured step instead: it would divide by zero or turn the sign of the
// first acceleration and power, and the low-pass would spread that over the whole run.
Row time_steps(const Row& t) {
    Row dt = extended_diff(t);
    if (!(dt(0) > 0)) dt(0) = dt(1);
    return dt;
}

Row filtered(const rt::TransferFunction& lp, const Row& x) {
    const Eigen::MatrixXd y = sig::filtfilt(lp.num.transpose(), lp.den.transpose(), x);
    return Eigen::Map<const Row>(y.data(), y.size());
}

Row keep_first(const Row& x, Eigen::Index n) { return x.head(n); }

const Row& curve(const Curves& c, shell::Quantity q) {
    using enum shell::Quantity;
    switch (q) {
        case EngineSpeed:
            return c.rpm;
        case Time:
            return c.t;
        case Distance:
            return c.X;
        case Speed:
            return c.v;
        case PowerPS:
            return c.Pps;
        case PowerKW:
            return c.P;
        case Torque:
            return c.M;
        case Acceleration:
            return c.a;
        case GearRatio:
            return c.gear_ratio;
    }
    throw rt::Error("No curve of that quantity.");
}

}  // namespace

double lowpass_cutoff(double fl, const Eigen::RowVectorXd& t) {
    const Eigen::Index n = t.size();
    const double step = n > 1 ? (t(n - 1) - t(0)) / static_cast<double>(n - 1) : std::nan("");
    double Wn = 2 / fl * step;
    // 1 itself is no cut-off a low-pass can have, just as little as anything above it.
    if (Wn >= 1) Wn = 0.999999;
    // A cut-off at or below zero would design a filter that passes nothing sensible.
    if (!(Wn > 0)) rt::error(rt::utf8(shell::text_table().lowpass_fails));
    return Wn;
}

Eigen::RowVectorXd split_smooth(const rt::TransferFunction& lp, const Eigen::RowVectorXd& x) {
    const Eigen::Index n = x.size(), h = n / 2;
    const Row forward = filtered(lp, x);
    const Row backward = filtered(lp, x.reverse()).reverse();
    Row out(n);
    out.head(h) = forward.head(h);
    out.tail(n - h) = backward.tail(n - h);
    return out;
}

double air_correction(double T, double p) { return 1013 / p * std::sqrt((273 + T) / 293); }

void cut_at_vmax(RunSeries& run) {
    Eigen::Index ii = -1;
    for (Eigen::Index i = 0; i < run.v.size(); ++i)
        if (!std::isnan(run.v(i)) && (ii < 0 || run.v(i) > run.v(ii))) ii = i;
    if (ii < 0) return;
    run.t = keep_first(run.t, ii + 1);
    run.v = keep_first(run.v, ii + 1);
    run.rpm = keep_first(run.rpm, ii + 1);
}

Curves curves(RunSeries run, const Physics& p) {
    if (p.cutvmax) cut_at_vmax(run);
    // Said before the filter design, which would blame the filter length for an empty run
    // (every sample without an engine speed, as when a factor of the conversion is 0), and
    // before the filter itself, which would refuse a short run in a message of its own.
    need_samples(run.t.size(), 3 * kLowpassOrder + 1);
    const rt::TransferFunction lp =
        sig::butter(kLowpassOrder, Eigen::VectorXd::Constant(1, lowpass_cutoff(p.fl, run.t)));
    Curves c;
    c.t = std::move(run.t);
    const Row dt = time_steps(c.t);
    Row v = split_smooth(lp, run.v);
    c.rpm = split_smooth(lp, run.rpm);

    c.a = filtered(lp, (extended_diff(v).array() / dt.array()).matrix());
    c.X = Row(v.size());
    double sum = 0;
    for (Eigen::Index i = 0; i < v.size(); ++i) c.X(i) = sum += v(i) * dt(i);

    if (p.drum) {
        const Row w = v / p.ur * 2 * kPi;  // the drum's angular speed [rad/s]
        const Row dw = extended_diff(w);
        c.P =
            (p.J * dw.array() / dt.array() * w.array() / 1000 + 0.0001 * p.cw * w.array().square())
                .matrix();
    } else {
        // Absent only when its field was no number, which get_par's dialog has named.
        if (!p.fro) throw shell::FieldNotANumber(rt::utf8(shell::text_table().fro_no_number));
        const Eigen::ArrayXd va = v.transpose().array();
        const Eigen::ArrayXd Fr = kHalfAirDensity * p.cw * p.A * va.square();
        const double Fro = p.m * kGravity * *p.fro;
        const Eigen::ArrayXd Wr = (Fr + Fro) * va * dt.transpose().array();
        Eigen::ArrayXd Wv(va.size());
        const double before = 2 * va(0) - va(1);
        Wv(0) = va(0) * va(0) - before * before;
        Wv.tail(va.size() - 1) = va.tail(va.size() - 1).square() - va.head(va.size() - 1).square();
        Wv *= 0.5 * p.m;
        const Row power = ((Wv + Wr) / dt.transpose().array()).matrix().transpose();
        c.P = filtered(lp, power) / 1000;
    }
    c.gear_ratio = ((c.rpm / 60).array() / v.array() * p.u).matrix();
    c.k = air_correction(p.T, p.p);
    c.P *= c.k;
    c.Pps = c.P * kPsPerKw;
    c.M = (c.Pps.array() / c.rpm.array() * kNmPerPsOverRpm).matrix();
    c.v = v * 3.6;
    return c;
}

std::pair<Eigen::RowVectorXd, Eigen::MatrixXd> axes_choice(const Curves& c, int xv, int yv) {
    const shell::AxisChoice* x = shell::x_choice(xv);
    if (!x) rt::error("The x axis choice " + std::to_string(xv) + " is not in its list.");
    const shell::AxisChoice* y = shell::y_choice(yv);
    if (!y) rt::error("The y axis choice " + std::to_string(yv) + " is not in its list.");
    const Row& first = curve(c, y->first);
    Eigen::MatrixXd columns(first.size(), y->second ? 2 : 1);
    columns.col(0) = first.transpose();
    if (y->second) columns.col(1) = curve(c, *y->second).transpose();
    return {curve(c, x->first), std::move(columns)};
}

}  // namespace evaluation

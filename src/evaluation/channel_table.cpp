#include "evaluation/channel_table.h"

#include <algorithm>
#include <array>

#include "runtime/dispatch/error.h"
#include "runtime/host.h"
#include "runtime/numeric/array_ops.h"
#include "runtime/value/text_ops.h"

namespace evaluation {

namespace {

// Channel 2's list for each type of channel 1.
constexpr std::array<std::array<int, 5>, 5> kSecondList{
    {{1, 2, 3, 5, 0}, {1, 2, 4, 5, 0}, {1, 3, 4, 5, 0}, {2, 3, 4, 5, 0}, {1, 2, 3, 4, 5}}};

Eigen::RowVectorXd row(const Eigen::VectorXd& v) { return v.transpose(); }

// interp1(t_rpm, rpm, t); with `extend`, the series gains the point (t(end), rpm(end)) first
// when the speed outlasts it. Inside the series that point would stand out of time order and
// give the last speed sample a later engine speed than its own.
Eigen::RowVectorXd join(const Eigen::VectorXd& t_rpm, const Eigen::VectorXd& rpm,
                        const Eigen::VectorXd& t, bool extend) {
    if (t.size() == 0) return {};
    if (rpm.size() == 0) return Eigen::RowVectorXd::Constant(t.size(), std::nan(""));
    Eigen::VectorXd x = t_rpm, y = rpm;
    if (extend && t(t.size() - 1) > x.maxCoeff()) {
        x.conservativeResize(x.size() + 1);
        y.conservativeResize(y.size() + 1);
        x(x.size() - 1) = t(t.size() - 1);
        y(y.size() - 1) = rpm(rpm.size() - 1);
    }
    return row(rt::interp1(x, y, t));
}

Eigen::VectorXd from_zero(Eigen::VectorXd t) {
    if (t.size() > 0) t.array() -= t(0);
    return t;
}

class Table {
public:
    Table(Eigen::MatrixXd Y, double FS, const ChannelParams& p, const ChannelCalls& c)
        : Y_(std::move(Y)), FS_(FS), p_(p), c_(c), L_(p.l) {}

    // The drum's sensor signals per engine revolution.
    double drum() const { return p_.W / p_.ur * p_.u / p_.r; }
    void use_drum() { L_ = drum(); }

    // Cut window, then erase window, on channels ch; false when either was cancelled.
    bool tone_editor(const std::vector<int>& ch) {
        if (!p_.cut) return true;
        std::optional<Eigen::MatrixXd> cut = c_.cut_file_spect(Y_, FS_, ch, L_, p_.mr, p_.Mr);
        if (!cut) return false;
        std::optional<ChannelCalls::Erased> er = c_.era_file_spect(*cut, FS_, ch, L_, p_.mr, p_.Mr);
        if (!er) return false;
        take(std::move(er->Y));
        track_ = std::move(er->track);
        return true;
    }
    bool pulse_editor(double a, double b, const std::vector<int>& ch) {
        if (!p_.cut) return true;
        std::optional<Eigen::MatrixXd> cut = c_.cut_file_digi(Y_, FS_, a, b, ch);
        if (!cut) return false;
        take(std::move(*cut));
        return true;
    }

    // Channel 1, 2, or 0 for both (averaged by the conversions).
    Eigen::Ref<const Eigen::MatrixXd> channel(int ch) const {
        if (ch == 0) return Y_;
        return Y_.col(ch - 1);
    }
    ToneSeries tone(int ch, double n, bool with_track = true) const {
        static const Track none;
        return c_.wav2v(channel(ch), FS_, n, L_, p_.mr, p_.Mr, with_track ? track_ : none);
    }
    PulseSeries pulse(int ch, double a, double b) const { return c_.dig2v(channel(ch), FS_, a, b); }

private:
    // An editor may hand back a single channel; the table reads two.
    void take(Eigen::MatrixXd Y) {
        if (Y.cols() == 1) {
            Y_.resize(Y.rows(), 2);
            Y_.col(0) = Y.col(0);
            Y_.col(1) = Y.col(0);
        } else {
            Y_ = std::move(Y);
        }
    }

    Eigen::MatrixXd Y_;
    double FS_;
    const ChannelParams& p_;
    const ChannelCalls& c_;
    double L_;
    Track track_;
};

}  // namespace

std::optional<Signal> channel2_type(int sig_ch1, int sig_ch2) {
    if (sig_ch1 < 1 || sig_ch1 > 5 || sig_ch2 < 1 || sig_ch2 > 5) return std::nullopt;
    const int type =
        kSecondList[static_cast<std::size_t>(sig_ch1 - 1)][static_cast<std::size_t>(sig_ch2 - 1)];
    if (type == 0) return std::nullopt;
    return static_cast<Signal>(type);
}

bool drum_on_a_channel(int sig_ch1, int sig_ch2) {
    return sig_ch1 == static_cast<int>(Signal::Drum) ||
           channel2_type(sig_ch1, sig_ch2) == Signal::Drum;
}

std::u16string both_off_message(const shell::Strings& st) {
    std::u16string off = st.popup_sig.rows.size() >= 5 ? st.popup_sig.rows[4] : u"";
    std::erase(off, u' ');
    return st.frame_ch1 + u" " + off + u" - " + st.frame_ch2 + u" " + off + u"!";
}

std::optional<RunSeries> channel_table(Eigen::MatrixXd Y, double FS, const ChannelParams& p,
                                       const shell::Strings& st, const ChannelCalls& calls) {
    Table k(std::move(Y), FS, p, calls);
    const double u = p.u, W = p.W, r = p.r, l = p.l, ur = p.ur;
    Eigen::VectorXd t, v, t_rpm, rpm;
    Eigen::RowVectorXd rpm_at_t;
    const auto set = [&](auto series) {
        t = std::move(series.t);
        v = std::move(series.v);
    };
    const auto set_rpm = [&](auto series) {
        t_rpm = std::move(series.t);
        rpm = std::move(series.v);
    };
    // Speed from revolutions per second of the engine, and the engine speed from them.
    const auto engine_only = [&] {
        rpm_at_t = row(v) * 60;
        v *= u / r;
    };
    const auto wheel_only = [&] { rpm_at_t = row(v) * 60 * r / u; };
    const auto drum_only = [&] {
        v *= ur;
        rpm_at_t = row(v) * 60 / u * r;
    };

    const bool listed = p.sig_ch1 >= 1 && p.sig_ch1 <= 5 && p.sig_ch2 >= 1 && p.sig_ch2 <= 5;
    switch (listed ? p.sig_ch1 * 10 + p.sig_ch2 : 0) {
        case 11:
            if (!k.tone_editor({1, 2})) return std::nullopt;
            set(k.tone(0, l));
            engine_only();
            break;
        case 12:
            if (!k.tone_editor({1})) return std::nullopt;
            set_rpm(k.tone(1, l));
            set(k.pulse(2, u, W));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            break;
        case 13:
            if (!k.tone_editor({1})) return std::nullopt;
            set_rpm(k.tone(1, l));
            rpm *= 60;
            k.use_drum();
            set(k.tone(2, W, false));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case 14:
            if (!k.tone_editor({1})) return std::nullopt;
            set(k.tone(1, l));
            engine_only();
            break;
        case 21:
            if (!k.tone_editor({2})) return std::nullopt;
            set_rpm(k.tone(2, l));
            set(k.pulse(1, u, W));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            break;
        case 22:
            if (!k.pulse_editor(u, W, {})) return std::nullopt;
            set(k.pulse(0, u, W));
            t = from_zero(t);
            wheel_only();
            break;
        case 23:
            if (!k.pulse_editor(u, W, {1})) return std::nullopt;
            set(k.pulse(1, u, W));
            set_rpm(k.pulse(2, 1, 1));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            t = from_zero(t);
            break;
        case 24:
            if (!k.pulse_editor(u, W, {1})) return std::nullopt;
            set(k.pulse(1, u, W));
            t = from_zero(t);
            wheel_only();
            break;
        case 31:
            if (!k.tone_editor({2})) return std::nullopt;
            set_rpm(k.tone(2, l));
            rpm *= 60;
            k.use_drum();
            set(k.tone(1, W, false));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case 32:
            k.use_drum();
            if (!k.tone_editor({1, 2})) return std::nullopt;
            set(k.tone(0, W));
            drum_only();
            break;
        case 33:
            k.use_drum();
            if (!k.tone_editor({1})) return std::nullopt;
            set_rpm(k.pulse(2, 1, 1));
            rpm *= 60;
            set(k.tone(1, W));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case 34:
            k.use_drum();
            if (!k.tone_editor({1})) return std::nullopt;
            set(k.tone(1, W));
            drum_only();
            break;
        case 41:
            if (!k.pulse_editor(u, W, {2})) return std::nullopt;
            set(k.pulse(2, u, W));
            set_rpm(k.pulse(1, 1, 1));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            t = from_zero(t);
            break;
        case 42:
            k.use_drum();
            if (!k.tone_editor({2})) return std::nullopt;
            set_rpm(k.pulse(1, 1, 1));
            rpm *= 60;
            set(k.tone(2, W));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case 43:
            if (!k.pulse_editor(1, 1, {})) return std::nullopt;
            set(k.pulse(0, 1, 1));
            engine_only();
            break;
        case 44:
            if (!k.pulse_editor(1, 1, {1})) return std::nullopt;
            set(k.pulse(1, 1, 1));
            engine_only();
            break;
        case 51:
            if (!k.tone_editor({2})) return std::nullopt;
            set(k.tone(2, l));
            engine_only();
            break;
        case 52:
            if (!k.pulse_editor(u, W, {2})) return std::nullopt;
            set(k.pulse(2, u, W));
            t = from_zero(t);
            wheel_only();
            break;
        case 53:
            k.use_drum();
            if (!k.tone_editor({2})) return std::nullopt;
            set(k.tone(2, W));
            drum_only();
            break;
        case 54:
            if (!k.pulse_editor(1, 1, {2})) return std::nullopt;
            set(k.pulse(2, 1, 1));
            engine_only();
            break;
        case 55:
            rt::errordlg(rt::utf8(both_off_message(st)));
            return std::nullopt;
        default:
            rt::error(rt::utf8(st.channel_pair) + " (" + std::to_string(p.sig_ch1) + ", " +
                      std::to_string(p.sig_ch2) + ")");
    }
    return RunSeries{row(t), row(v), std::move(rpm_at_t)};
}

}  // namespace evaluation

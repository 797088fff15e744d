#include "evaluation/channel_table.h"

#include <algorithm>

#include "runtime/dispatch/error.h"
#include "runtime/host.h"
#include "runtime/numeric/array_ops.h"
#include "runtime/value/text_ops.h"
#include "signal/resample.h"

namespace evaluation {

namespace {

// A case of the table: the types of channel 1 and channel 2.
constexpr int pair(Signal ch1, Signal ch2) {
    return 10 * static_cast<int>(ch1) + static_cast<int>(ch2);
}

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
        : FS_(FS), p_(p), c_(c), L_(p.l) {
        take(std::move(Y));
    }
    // Each conversion reads the file; the editors, which take the whole recording, do not run.
    Table(const sig::WavSource& source, const ChannelParams& p, const ChannelCalls& c)
        : source_(source), FS_(source.Fs), p_(p), c_(c), L_(p.l) {}

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
    // The same a stretch at a time, from the file or from the samples held.
    Eigen::Index samples() const { return source_ ? source_->frames() : Y_.rows(); }
    sig::SampleReader reader(int ch) const {
        if (source_)
            return [&s = *source_, ch](Eigen::Index first, Eigen::Index count, double* out) {
                s.read(ch, first, count, out);
            };
        if (ch == 0)
            return [&Y = Y_](Eigen::Index first, Eigen::Index count, double* out) {
                for (Eigen::Index i = 0; i < count; ++i)
                    out[i] = (Y(first + i, 0) + Y(first + i, 1)) / 2;
            };
        return [y = Y_.col(ch - 1)](Eigen::Index first, Eigen::Index count, double* out) {
            std::copy_n(y.data() + first, count, out);
        };
    }
    ToneSeries tone(int ch, double n, bool with_track = true) const {
        static const Track none;
        if (source_) {
            // Read and resampled a stretch at a time: the analysis rate's signal is all
            // that exists of the channel.
            const Eigen::VectorXd x = sig::resample(samples(), reader(ch), kToneRate, FS_);
            return c_.wav2v(x, kToneRate, n, L_, p_.mr, p_.Mr, none);
        }
        return c_.wav2v(channel(ch), FS_, n, L_, p_.mr, p_.Mr, with_track ? track_ : none);
    }
    PulseSeries pulse(int ch, double a, double b) const {
        return c_.dig2v(samples(), reader(ch), FS_, a, b);
    }

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
    std::optional<sig::WavSource> source_;
    double FS_;
    const ChannelParams& p_;
    const ChannelCalls& c_;
    double L_;
    Track track_;
};

}  // namespace

std::u16string both_off_message(const shell::Strings& st) {
    const auto at = static_cast<std::size_t>(Signal::Off) - 1;
    std::u16string off = at < st.popup_sig.rows.size() ? st.popup_sig.rows[at] : u"";
    std::erase(off, u' ');
    return st.frame_ch1 + u" " + off + u" - " + st.frame_ch2 + u" " + off + u"!";
}

namespace {

std::optional<RunSeries> convert(Table& k, const ChannelParams& p, const shell::Strings& st) {
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

    using enum Signal;
    const std::optional<Signal> ch2 = channel2_type(p.sig_ch1, p.sig_ch2);
    switch (ch2 ? pair(static_cast<Signal>(p.sig_ch1), *ch2) : 0) {
        case pair(Alternator, Alternator):
            if (!k.tone_editor({1, 2})) return std::nullopt;
            set(k.tone(0, l));
            engine_only();
            break;
        case pair(Alternator, Wheel):
            if (!k.tone_editor({1})) return std::nullopt;
            set_rpm(k.tone(1, l));
            set(k.pulse(2, u, W));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            break;
        case pair(Alternator, Drum):
            if (!k.tone_editor({1})) return std::nullopt;
            set_rpm(k.tone(1, l));
            rpm *= 60;
            k.use_drum();
            set(k.tone(2, W, false));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case pair(Alternator, Off):
            if (!k.tone_editor({1})) return std::nullopt;
            set(k.tone(1, l));
            engine_only();
            break;
        case pair(Wheel, Alternator):
            if (!k.tone_editor({2})) return std::nullopt;
            set_rpm(k.tone(2, l));
            set(k.pulse(1, u, W));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            break;
        case pair(Wheel, Wheel):
            if (!k.pulse_editor(u, W, {})) return std::nullopt;
            set(k.pulse(0, u, W));
            t = from_zero(t);
            wheel_only();
            break;
        case pair(Wheel, Ignition):
            if (!k.pulse_editor(u, W, {1})) return std::nullopt;
            set(k.pulse(1, u, W));
            set_rpm(k.pulse(2, 1, 1));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            t = from_zero(t);
            break;
        case pair(Wheel, Off):
            if (!k.pulse_editor(u, W, {1})) return std::nullopt;
            set(k.pulse(1, u, W));
            t = from_zero(t);
            wheel_only();
            break;
        case pair(Drum, Alternator):
            if (!k.tone_editor({2})) return std::nullopt;
            set_rpm(k.tone(2, l));
            rpm *= 60;
            k.use_drum();
            set(k.tone(1, W, false));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case pair(Drum, Drum):
            k.use_drum();
            if (!k.tone_editor({1, 2})) return std::nullopt;
            set(k.tone(0, W));
            drum_only();
            break;
        case pair(Drum, Ignition):
            k.use_drum();
            if (!k.tone_editor({1})) return std::nullopt;
            set_rpm(k.pulse(2, 1, 1));
            rpm *= 60;
            set(k.tone(1, W));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case pair(Drum, Off):
            k.use_drum();
            if (!k.tone_editor({1})) return std::nullopt;
            set(k.tone(1, W));
            drum_only();
            break;
        case pair(Ignition, Wheel):
            if (!k.pulse_editor(u, W, {2})) return std::nullopt;
            set(k.pulse(2, u, W));
            set_rpm(k.pulse(1, 1, 1));
            rpm_at_t = join(t_rpm, rpm, t, true) * 60;
            t = from_zero(t);
            break;
        case pair(Ignition, Drum):
            k.use_drum();
            if (!k.tone_editor({2})) return std::nullopt;
            set_rpm(k.pulse(1, 1, 1));
            rpm *= 60;
            set(k.tone(2, W));
            v *= ur;
            rpm_at_t = join(t_rpm, rpm, t, false);
            break;
        case pair(Ignition, Ignition):
            if (!k.pulse_editor(1, 1, {})) return std::nullopt;
            set(k.pulse(0, 1, 1));
            engine_only();
            break;
        case pair(Ignition, Off):
            if (!k.pulse_editor(1, 1, {1})) return std::nullopt;
            set(k.pulse(1, 1, 1));
            engine_only();
            break;
        case pair(Off, Alternator):
            if (!k.tone_editor({2})) return std::nullopt;
            set(k.tone(2, l));
            engine_only();
            break;
        case pair(Off, Wheel):
            if (!k.pulse_editor(u, W, {2})) return std::nullopt;
            set(k.pulse(2, u, W));
            t = from_zero(t);
            wheel_only();
            break;
        case pair(Off, Drum):
            k.use_drum();
            if (!k.tone_editor({2})) return std::nullopt;
            set(k.tone(2, W));
            drum_only();
            break;
        case pair(Off, Ignition):
            if (!k.pulse_editor(1, 1, {2})) return std::nullopt;
            set(k.pulse(2, 1, 1));
            engine_only();
            break;
        case pair(Off, Off):
            rt::errordlg(rt::utf8(both_off_message(st)));
            return std::nullopt;
        default:
            rt::error(rt::utf8(st.channel_pair) + " (" + std::to_string(p.sig_ch1) + ", " +
                      std::to_string(p.sig_ch2) + ")");
    }
    return RunSeries{row(t), row(v), std::move(rpm_at_t)};
}

}  // namespace

std::optional<RunSeries> channel_table(Eigen::MatrixXd Y, double FS, const ChannelParams& p,
                                       const shell::Strings& st, const ChannelCalls& calls) {
    Table k(std::move(Y), FS, p, calls);
    return convert(k, p, st);
}

std::optional<RunSeries> channel_table(const sig::WavSource& source, const ChannelParams& p,
                                       const shell::Strings& st, const ChannelCalls& calls) {
    ChannelParams no_editor = p;
    no_editor.cut = false;
    Table k(source, no_editor, calls);
    return convert(k, no_editor, st);
}

}  // namespace evaluation

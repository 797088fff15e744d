// calc_diag: the steps of a run's curves with their worked values, and the calculate button
// played on the main window: dialogs, busy state, the result cache and the editors' road.
#include "evaluation/calc_diag.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "diagram/diagram_fixture.h"
#include "evaluation/curves.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "runtime/value/num2str.h"
#include "runtime/value/text_ops.h"
#include "shell/get_par.h"
#include "shell/panel.h"
#include "shell/shell_qt_fixture.h"
#include "shell/strings.h"
#include "signal/butter.h"
#include "signal/filtfilt.h"
#include "signal/wavwrite.h"
#include "support/address_space_limit.h"
#include "support/test_helpers.h"
#include "support/wav_bytes.h"
#include "support/working_folder.h"

namespace {

using diagram_test::DiagramTest;
using evaluation::RunSeries;
using rt::Value;

Eigen::RowVectorXd steps(Eigen::Index n, double dt) {
    return Eigen::RowVectorXd::LinSpaced(n, 0, dt * double(n - 1));
}

TEST(CalcDiagSteps, LowpassCutoffFromFilterLengthAndTimeStep) {
    EXPECT_NEAR(evaluation::lowpass_cutoff(1, steps(100, 0.05)), 0.1, 1e-12);
    EXPECT_EQ(evaluation::lowpass_cutoff(0.05, steps(100, 0.05)), 0.999999);
    EXPECT_EQ(evaluation::lowpass_cutoff(1, steps(10, 0.5)), 0.999999);  // exactly 1
    // Times that do not increase, or a filter length below zero, design no filter.
    const std::string msg = rt::utf8(shell::text_table().lowpass_fails);
    EXPECT_EQ(testsupport::errorOf([] { evaluation::lowpass_cutoff(1, -steps(50, 0.05)); }), msg);
    EXPECT_EQ(testsupport::errorOf(
                  [] { evaluation::lowpass_cutoff(1, Eigen::RowVectorXd::Constant(50, 3)); }),
              msg);
    EXPECT_EQ(testsupport::errorOf([] { evaluation::lowpass_cutoff(-1, steps(50, 0.05)); }), msg);
    EXPECT_EQ(testsupport::errorOf([] { evaluation::lowpass_cutoff(1, steps(1, 0.05)); }), msg);
}

TEST(CalcDiagSteps, SplitSmoothingTakesEachHalfFromItsOwnDirection) {
    const rt::TransferFunction lp = sig::butter(3, Eigen::VectorXd::Constant(1, 0.3));
    Eigen::RowVectorXd x(12);
    x << 1, 4, 2, 8, 5, 7, 3, 9, 6, 2, 7, 1;
    const auto ff = [&](const Eigen::RowVectorXd& s) {
        return Eigen::RowVectorXd(sig::filtfilt(lp.num.transpose(), lp.den.transpose(), s));
    };
    for (Eigen::Index n : {Eigen::Index(10), Eigen::Index(12)}) {
        const Eigen::RowVectorXd s = x.head(n);
        const Eigen::RowVectorXd got = evaluation::split_smooth(lp, s);
        const Eigen::RowVectorXd forward = ff(s);
        const Eigen::RowVectorXd backward = ff(s.reverse()).reverse();
        ASSERT_EQ(got.size(), n);
        for (Eigen::Index i = 0; i < n; ++i)
            EXPECT_EQ(got(i), i < n / 2 ? forward(i) : backward(i)) << n << " at " << i;
        // The two directions differ somewhere, or the test would show nothing.
        EXPECT_GT((forward - backward).cwiseAbs().maxCoeff(), 1e-9);
    }
}

// Of an odd number of samples the first half rounded down comes from the series filtered as it
// is: of 7, samples 1 to 3. Worked by hand with the one-pole low-pass y(k) = (x(k) + y(k-1))/2
// (b = 1/2, a = [1 -1/2]) on a run that starts with 8 and then stays at 0. Reversed, the run
// ends in 8; reflected about that end it goes on 16, 16, 16, where the forward pass reaches
// 4, 10, 13, 14.5, and the backward pass, starting settled at 14.5, gives 13.75, 11.875,
// 7.9375 at the 8 and halves from there: 127/128 at sample 4. Filtered as it is, the run
// gives 8193/8192 there; samples 1 to 3 of it, and the rest of the reversed run, follow the
// same recursion through the reflected ends. All are exact in binary.
TEST(CalcDiagSteps, SplitSmoothingOfAnOddLengthTakesTheMiddleSampleFromTheReversedRun) {
    const rt::TransferFunction lp{Eigen::RowVectorXd::Constant(1, 0.5),
                                  (Eigen::RowVectorXd(2) << 1, -0.5).finished()};
    Eigen::RowVectorXd x(7);
    x << 8, 0, 0, 0, 0, 0, 0;
    const double expected[] = {524289.0 / 65536, 131073.0 / 32768, 32769.0 / 16384, 127.0 / 128,
                               127.0 / 256,      127.0 / 512,      127.0 / 1024};
    const Eigen::RowVectorXd got = evaluation::split_smooth(lp, x);
    ASSERT_EQ(got.size(), 7);
    for (Eigen::Index i = 0; i < 7; ++i) EXPECT_EQ(got(i), expected[i]) << "sample " << i + 1;
}

TEST(CalcDiagSteps, AirCorrectionAndTheCutAtTheSpeedMaximum) {
    EXPECT_DOUBLE_EQ(evaluation::air_correction(20, 1013), 1);
    EXPECT_NEAR(evaluation::air_correction(30, 990), 1013.0 / 990 * std::sqrt(303.0 / 293), 1e-12);
    EXPECT_NEAR(evaluation::air_correction(30, 990), 1.0405, 1e-4);

    RunSeries rising{steps(100, 0.1), steps(100, 1), steps(100, 50)};
    evaluation::cut_at_vmax(rising);
    EXPECT_EQ(rising.t.size(), 100);
    RunSeries peak{steps(100, 0.1), steps(100, 1), steps(100, 50)};
    peak.v.tail(90).setConstant(5);
    peak.v(9) = 20;
    peak.v(40) = 20;  // a later equal maximum does not count
    evaluation::cut_at_vmax(peak);
    EXPECT_EQ(peak.t.size(), 10);
    EXPECT_EQ(peak.rpm.size(), 10);
    EXPECT_EQ(peak.v(9), 20);
}

// A constant acceleration: the road model's power is the work on the mass and against the
// resistances per second, the drum's the inertia's; the derived series follow them.
TEST(CalcDiagSteps, RoadAndDrumPowerOfAConstantAcceleration) {
    const Eigen::Index n = 400;
    const double a = 2, v0 = 5, u = 1.325, r = 6.32;
    RunSeries run{steps(n, 0.05), {}, {}};
    run.v = (v0 + a * run.t.array()).matrix();
    run.rpm = run.v * 60 * r / u;
    evaluation::Physics p;
    p.m = 200, p.cw = 0.5, p.A = 0.75, p.fro = 0.015, p.u = u, p.fl = 1, p.J = 1.08, p.ur = 0.93;
    p.T = 30, p.p = 990;
    const double k = evaluation::air_correction(30, 990);

    const evaluation::Curves road = evaluation::curves(run, p);
    EXPECT_EQ(road.k, k);
    // The filter holds polynomials of this degree away from the ends.
    for (Eigen::Index i = 60; i < n - 60; ++i) {
        const double v = run.v(i);
        // The kinetic energy changes over the step that ends at the sample.
        const double dE = p.m * a * (v - a * 0.05 / 2);
        const double P = (dE + (0.65 * 0.5 * 0.75 * v * v + 200 * 9.81 * 0.015) * v) / 1000;
        ASSERT_NEAR(road.P(i), P * k, 1e-4 * P) << i;
        ASSERT_NEAR(road.a(i), a, 1e-4) << i;
        ASSERT_NEAR(road.v(i), 3.6 * v, 1e-4) << i;
        ASSERT_NEAR(road.Pps(i), road.P(i) * 1.35962, 1e-12) << i;
        ASSERT_NEAR(road.M(i), road.Pps(i) / road.rpm(i) * 7024, 1e-9) << i;
        ASSERT_NEAR(road.gear_ratio(i), r, 1e-5) << i;
        // Each step's distance is counted at the speed that ends it.
        const double t = run.t(i);
        ASSERT_NEAR(road.X(i), v0 * (t + 0.05) + a * t * (t + 0.05) / 2, 2e-3) << i;
    }

    p.drum = true;
    const evaluation::Curves drum = evaluation::curves(run, p);
    for (Eigen::Index i = 60; i < n - 60; ++i) {
        const double w = run.v(i) / p.ur * 2 * 3.1416, dw = a / p.ur * 2 * 3.1416;
        const double P = p.J * dw * w / 1000 + 0.0001 * p.cw * w * w;
        ASSERT_NEAR(drum.P(i), P * k, 1e-4 * P) << i;
    }
    // A run too short for the forward-backward low-pass (ten samples for its order 3) says so,
    // not that the filter cannot be made.
    const auto short_run = [&](Eigen::Index n) {
        return testsupport::errorOf([&] {
            evaluation::curves(RunSeries{steps(n, 0.05), steps(n, 1), steps(n, 50)}, p);
        });
    };
    for (Eigen::Index n : {0, 1, 2, 9})
        EXPECT_EQ(short_run(n), rt::utf8(shell::text_table().run_too_short)) << n;
    EXPECT_EQ(short_run(10), "");
    // Without its rolling-resistance coefficient only the road model fails.
    p.fro.reset();
    EXPECT_NO_THROW(evaluation::curves(run, p));
    p.drum = false;
    EXPECT_THROW(evaluation::curves(run, p), shell::FieldNotANumber);
}

// Pulse times 0, 0.1, 0.3, 0.4, ... (one pulse missed after the second): the first step
// extrapolates to 0 s, so the first measured step stands in and the curves stay numbers.
TEST(CalcDiagSteps, AFirstTimeStepExtrapolatedToZeroIsTheFirstMeasuredOne) {
    const Eigen::Index n = 60;
    RunSeries run{steps(n, 0.1), Eigen::RowVectorXd::Constant(n, 20), {}};
    run.t.tail(n - 2).array() += 0.1;
    run.rpm = run.v * 60 * 6.32 / 1.325;
    evaluation::Physics p;
    p.m = 200, p.cw = 0.5, p.A = 0.75, p.fro = 0.015, p.u = 1.325, p.fl = 1, p.J = 1, p.ur = 1;
    const double resistance = (0.65 * 0.5 * 0.75 * 400 + 200 * 9.81 * 0.015) * 20 / 1000;
    for (bool drum : {false, true}) {
        p.drum = drum;
        const evaluation::Curves c = evaluation::curves(run, p);
        const double P = drum ? 0.0001 * 0.5 * std::pow(20 * 2 * 3.1416, 2) : resistance;
        for (Eigen::Index i = 0; i < n; ++i) {
            ASSERT_NEAR(c.a(i), 0, 1e-9) << i;
            ASSERT_NEAR(c.P(i), P, 1e-9 * P) << i;
        }
        EXPECT_NEAR(c.X(0), 20 * 0.1, 1e-12);
    }
}

TEST(CalcDiagSteps, AxesChoiceHandsRowsAndColumns) {
    evaluation::Curves c;
    const auto n = [](double x) { return Eigen::RowVectorXd::Constant(5, x); };
    c.rpm = n(1), c.t = n(2), c.X = n(3), c.v = n(4), c.Pps = n(5), c.M = n(6), c.P = n(7);
    c.a = n(8), c.gear_ratio = n(9);
    const double x_of[] = {1, 2, 3, 4};
    for (int xv = 1; xv <= 4; ++xv)
        EXPECT_EQ(evaluation::axes_choice(c, xv, 3).first(0), x_of[xv - 1]);
    const auto [x, y] = evaluation::axes_choice(c, 1, 1);
    ASSERT_EQ(y.cols(), 2);
    ASSERT_EQ(y.rows(), 5);
    EXPECT_EQ(y(0, 0), 5);
    EXPECT_EQ(y(0, 1), 6);
    const double y_of[] = {5, 7, 5, 7, 6, 4, 8, 2, 3, 1, 9};
    for (int yv = 1; yv <= 11; ++yv)
        EXPECT_EQ(evaluation::axes_choice(c, 1, yv).second(0, 0), y_of[yv - 1]) << yv;
    EXPECT_EQ(evaluation::axes_choice(c, 1, 2).second.cols(), 2);
    EXPECT_EQ(evaluation::axes_choice(c, 1, 6).second.cols(), 1);
    EXPECT_FALSE(testsupport::errorOf([&] { evaluation::axes_choice(c, 5, 1); }).empty());
    EXPECT_FALSE(testsupport::errorOf([&] { evaluation::axes_choice(c, 1, 12); }).empty());
}

// An alternator tone (3 signals per revolution) rising from 3000 to 9000 1/min.
void write_tone(const std::string& file, double seconds = 4, double fs = 8820, double top = 9000) {
    const auto n = static_cast<Eigen::Index>(seconds * fs);
    Eigen::MatrixXd y(n, 1);
    double phase = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double rpm = 3000 + (top - 3000) * double(i) / double(n);
        phase += 2 * 3.141592653589793 * rpm / 60 * 3 / fs;
        y(i, 0) = 0.5 * std::sin(phase);
    }
    sig::wavwrite(y, fs, 16, file);
}

// The main window after start-up, with a recording in its folder.
class CalcDiag : public DiagramTest {
protected:
    // The editor box starts ticked; these runs go without the editor unless a test ticks it.
    void SetUp() override {
        DiagramTest::SetUp();
        shell::set_tagged("cut_File", "Value", Value(0.0));
    }
    void calculate() { click_label(shell::text_table().push_sdiag); }
    std::size_t cache_lines() const {
        return rt::get(shell::tagged("Saved Data"), "Children").numel();
    }
    std::size_t runs() const { return tagged_from(u"Diag").size(); }
    std::size_t shown(rt::ScriptedDialogs::Kind kind) const {
        std::size_t n = 0;
        for (const auto& s : dialogs_.shown()) n += s.kind == kind;
        return n;
    }
    std::size_t errors() const { return shown(rt::ScriptedDialogs::Kind::Error); }
    std::size_t warnings() const { return shown(rt::ScriptedDialogs::Kind::Warning); }
    void expect_ready() const {
        const Value mfig = shell::tagged("Main Figure");
        EXPECT_EQ(rt::get(mfig, "Pointer").text(), "arrow");
        EXPECT_TRUE(rt::findobj({mfig, Value("Enable"), Value("inactive")}).isEmpty());
        EXPECT_FALSE(rt::findobj({mfig, Value("Enable"), Value("on")}).isEmpty());
    }
};

TEST_F(CalcDiag, EmptyPathMissingFileAndBothChannelsOffEndWithTheMainWindowReady) {
    type("wav_file", "");
    dialogs_.answerGetFile(std::nullopt);
    calculate();
    EXPECT_EQ(errors(), 0u);
    expect_ready();

    type("wav_file", "nowhere.wav");
    dialogs_.expectError();
    calculate();
    ASSERT_EQ(errors(), 1u);
    EXPECT_EQ(dialogs_.shown().back().text, "Datei nicht gefunden:\nnowhere.wav");
    EXPECT_EQ(dialogs_.shown().back().title, "Datei Fehler");
    expect_ready();

    write_tone("run.wav", 1);
    type("wav_file", "run.wav");
    choose("popup_sig_ch1", 5);
    choose("popup_sig_ch2", 5);
    dialogs_.expectError();
    calculate();
    ASSERT_EQ(errors(), 2u);
    EXPECT_EQ(dialogs_.shown().back().text, "Linker Kanal: Aus - Rechter Kanal: Aus!");
    EXPECT_EQ(dialogs_.shown().back().title, "Error Dialog");
    EXPECT_EQ(cache_lines(), 0u);
    expect_ready();
}

TEST_F(CalcDiag, TheFileChooserStartsAnEvaluationOfTheChosenRecording) {
    write_tone("run.wav");
    type("wav_file", "");
    dialogs_.answerGetFile(rt::FileChoice{"run.wav", dir_.string() + "/"});
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(runs(), 1u);
    EXPECT_EQ(cache_lines(), 2u);
    expect_ready();
}

TEST_F(CalcDiag, TheCacheServesRepeatsAndConvertsAgainForNewKeysAndRewrittenFiles) {
    write_tone("run.wav");
    type("wav_file", "run.wav");
    calculate();
    ASSERT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 2u);
    EXPECT_EQ(runs(), 1u);
    const std::vector<double> curve = rt::get(Value(tagged_from(u"Diag")[0]), "YData").real();
    ASSERT_GT(curve.size(), 50u);

    // Again, with the editor box ticked: the cache answers, so no editor is asked for
    // (there is none in the table, which would be an error).
    shell::set_tagged("cut_File", "Value", Value(1.0));
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 2u);
    EXPECT_EQ(runs(), 1u) << "the same run is shown again, not drawn twice";
    EXPECT_EQ(rt::get(Value(tagged_from(u"Diag")[0]), "YData").real(), curve);

    // A new filter length is a new run from the same cache lines.
    type("filt_length", "0,5");
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 2u);
    EXPECT_EQ(runs(), 2u);
    shell::set_tagged("cut_File", "Value", Value(0.0));

    // A new tire circumference converts again.
    type("wheel_perim", "1.9");
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 4u);

    // The same name written again with another run converts again.
    std::filesystem::last_write_time(
        "run.wav", std::filesystem::last_write_time("run.wav") - std::chrono::seconds(5));
    write_tone("run.wav", 4, 8820, 7000);
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 6u);
    expect_ready();
}

// The cache key holds seven values of the panel besides the recording: each changed alone
// converts the recording again (a run of another channel choice is another run), and no
// other field does.
TEST_F(CalcDiag, EachKeyValueChangedAloneConvertsAgainAndNoOtherFieldDoes) {
    write_tone("run.wav", 2);
    type("wav_file", "run.wav");
    calculate();
    ASSERT_EQ(errors(), 0u);
    ASSERT_EQ(cache_lines(), 2u);

    enum class How { Typed, Chosen, Set };
    const struct {
        const char* tag;
        How how;
        const char* text;  // typed
        double value;      // chosen or set
        bool key;
    } fields[] = {
        {"gear_ratio", How::Typed, "7", 0, true},
        {"wheel_perim", How::Typed, "1.9", 0, true},
        {"lima", How::Typed, "3.1", 0, true},
        {"cylin_perim", How::Typed, "0.8", 0, true},
        {"wheel_sens", How::Typed, "3", 0, true},
        {"popup_sig_ch1", How::Chosen, nullptr, 5, true},  // off, channel 2 the alternator
        {"popup_sig_ch2", How::Chosen, nullptr, 4, true},  // off
        {"filt_length", How::Typed, "0,5", 0, false},
        {"total_mass", How::Typed, "150", 0, false},
        {"cw_value", How::Typed, "0.6", 0, false},
        {"frontal_area", How::Typed, "0.8", 0, false},
        {"total_tork", How::Typed, "2", 0, false},
        {"air_temp", How::Typed, "25", 0, false},
        {"air_pres", How::Typed, "990", 0, false},
        {"min_rpm", How::Typed, "600", 0, false},
        {"max_rpm", How::Typed, "15000", 0, false},
        {"fro_value", How::Typed, "0.02", 0, false},
        {"cut_Vmax", How::Set, nullptr, 0, false},
        {"popup_xaxis", How::Set, nullptr, 2, false},
        {"popup_yaxis", How::Set, nullptr, 3, false},
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.tag);
        const char* property = f.how == How::Typed ? "String" : "Value";
        const Value was = prop(f.tag, property);
        const std::size_t before = cache_lines();
        if (f.how == How::Typed) type(f.tag, f.text);
        if (f.how == How::Chosen) choose(f.tag, f.value);
        if (f.how == How::Set) shell::set_tagged(f.tag, property, Value(f.value));
        calculate();
        EXPECT_EQ(errors(), 0u);
        EXPECT_EQ(cache_lines(), before + (f.key ? 2 : 0));
        if (f.how == How::Chosen) {
            choose(f.tag, was.scalar());
        } else {
            shell::set_tagged(f.tag, property, was);
        }
    }
    expect_ready();
}

// The editors are reached by name: a cancelling one ends the evaluation with nothing cached.
TEST_F(CalcDiag, TheEditorBoxRunsTheEditorsThroughTheTable) {
    write_tone("run.wav", 2);
    type("wav_file", "run.wav");
    shell::set_tagged("cut_File", "Value", Value(1.0));

    // A stand-in editor that cancels: the evaluation ends without a run.
    std::vector<std::string> called;
    table_.add("cut_file_spect", 7, 2, [&](const rt::Values& in, int) -> rt::Values {
        called.push_back("cut_file_spect " + rt::num2str(in[2]).text() + " " +
                         rt::num2str(in[3]).text());
        return {in[0], Value(0.0)};
    });
    evaluation::register_calc_diag(table_)->bind(table_);
    calculate();
    EXPECT_EQ(called, std::vector<std::string>{"cut_file_spect 1  2 3"});
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 0u);
    EXPECT_EQ(runs(), 0u);
    expect_ready();
}

// A recording replaced while the run is read (here while the editors have it) is not taken
// for the one that was read: the next calculation converts the new one.
TEST_F(CalcDiag, ARecordingReplacedWhileItIsReadIsConvertedAgain) {
    write_tone("run.wav", 2);
    type("wav_file", "run.wav");
    shell::set_tagged("cut_File", "Value", Value(1.0));
    table_.add("cut_file_spect", 7, 2, [](const rt::Values& in, int) -> rt::Values {
        write_tone("other.wav", 2, 8820, 7000);
        std::filesystem::rename("other.wav", "run.wav");
        return {in[0], Value(1.0)};
    });
    table_.add("era_file_spect", 7, 4, [](const rt::Values& in, int) -> rt::Values {
        return {in[0], Value(1.0), Value(), Value()};
    });
    evaluation::register_calc_diag(table_)->bind(table_);
    calculate();
    ASSERT_EQ(errors(), 0u);
    ASSERT_EQ(cache_lines(), 2u);

    shell::set_tagged("cut_File", "Value", Value(0.0));
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 4u);
    EXPECT_EQ(runs(), 2u);
}

// Header fields size the resampling and its filter: a rate of 4 GHz would design a filter of
// 36 million taps, 1 Hz ask for gigabytes of samples. Each such file is refused before any
// of that, naming the file and the reason, in a process that cannot grow by more than 200 MB.
TEST_F(CalcDiag, RecordingsThatCannotBeEvaluatedAreRefusedBeforeAnyLargeAllocation) {
    using namespace wavtest;
    // 16-bit samples of `channels` channels (at least one channel's worth of bytes per frame).
    const auto wav = [](unsigned rate, unsigned channels, std::size_t frames) {
        const Bytes fmt =
            chunk("fmt ", cat({fmtCommon(1, channels, rate, 2 * channels), le16(16)}));
        return riff(cat({fmt, chunk("data", Bytes(frames * 2 * std::max(channels, 1u), 0))}));
    };
    const std::string refused = "kann nicht ausgewertet werden: ";
    const std::string rate =
        "Die Abtastrate muss zwischen 1 kHz und 384 kHz liegen; die Datei nennt ";
    struct Case {
        std::string file;
        Bytes bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"4GHz.wav", wav(4'000'000'000u, 2, 1000), rate + "4000000000 Hz."},
        {"1Hz.wav", wav(1, 2, 44100), rate + "1 Hz."},
        {"0Hz.wav", wav(0, 2, 1000), rate + "0 Hz."},
        {"999Hz.wav", wav(999, 2, 44100), rate + "999 Hz."},
        {"384001Hz.wav", wav(384'001, 2, 1000), rate + "384001 Hz."},
        {"no channel.wav", wav(44100, 0, 1000), "Die Datei enthält keinen Kanal."},
        {"no frame.wav", wav(44100, 2, 0), "Die Datei enthält keine Abtastwerte."},
    };
    for (const Case& c : cases)
        std::ofstream(c.file, std::ios::binary)
            .write(reinterpret_cast<const char*>(c.bytes.data()),
                   static_cast<std::streamsize>(c.bytes.size()));

    const testsupport::ChildOutcome child =
        testsupport::withAddressSpaceRoom(200 << 20, [&](std::ostream& out) {
            for (const Case& c : cases) {
                type("wav_file", c.file);
                dialogs_.expectError();
                calculate();
                out << dialogs_.shown().back().text << "|" << runs() << cache_lines() << "\n";
            }
        });
    ASSERT_TRUE(child.exited) << child.text;
    std::istringstream lines(child.text);
    for (const Case& c : cases) {
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "\"" + c.file + "\" " + refused + c.reason + "|00");
    }
}

// A file that ends inside its data chunk is evaluated from the samples it holds, and the user
// is told so once, in a warning that does not stop the evaluation.
TEST_F(CalcDiag, ACutShortRecordingIsEvaluatedWithAWarning) {
    write_tone("run.wav", 4);  // 35280 frames of one 16-bit channel
    std::filesystem::resize_file("run.wav", 44 + 2 * 26460);
    type("wav_file", "run.wav");
    dialogs_.expectWarning();
    calculate();
    EXPECT_EQ(errors(), 0u);
    ASSERT_EQ(warnings(), 1u);
    EXPECT_EQ(dialogs_.shown().back().text,
              "\"run.wav\" ist abgeschnitten; verwendet werden nur die vorhandenen "
              "Abtastwerte.\nAbtastwerte je Kanal erwartet / gelesen: 35280 / 26460");
    EXPECT_EQ(dialogs_.shown().back().title, rt::defaultWarningTitle());
    EXPECT_EQ(runs(), 1u);
    expect_ready();

    // The run comes from the cache now: nothing is read, nothing to warn of.
    type("filt_length", "0,5");
    calculate();
    EXPECT_EQ(warnings(), 1u);
    EXPECT_EQ(runs(), 2u);
}

// cp -p and rsync -t put another recording of the same size under the name, keeping the
// modification time: the copy is a new run all the same.
TEST_F(CalcDiag, AnotherRecordingCopiedOverKeepingSizeAndTimeIsConvertedAgain) {
    namespace fs = std::filesystem;
    write_tone("run.wav");
    type("wav_file", "run.wav");
    calculate();
    ASSERT_EQ(cache_lines(), 2u);
    const std::vector<double> first = rt::get(Value(tagged_from(u"Diag")[0]), "YData").real();
    const fs::file_time_type kept = fs::last_write_time("run.wav");

    // cp -p: the same file written anew in place; rsync -t: a new file renamed over it.
    write_tone("other.wav", 4, 8820, 7000);
    ASSERT_EQ(fs::file_size("other.wav"), fs::file_size("run.wav"));
    fs::copy_file("other.wav", "run.wav", fs::copy_options::overwrite_existing);
    fs::last_write_time("run.wav", kept);
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 4u);
    ASSERT_EQ(runs(), 2u);
    const auto runs_now = tagged_from(u"Diag");
    EXPECT_TRUE(std::any_of(runs_now.begin(), runs_now.end(), [&](rt::Handle run) {
        return rt::get(Value(run), "YData").real() != first;
    })) << "the copy's curve is not shown";

    write_tone("third.wav", 4, 8820, 8000);
    fs::last_write_time("third.wav", kept);
    fs::rename("third.wav", "run.wav");
    calculate();
    EXPECT_EQ(errors(), 0u);
    EXPECT_EQ(cache_lines(), 6u);
}

// The calculate button as Qt runs it: what a callback leaves unshown the run-time shows.
class CalcDiagQt : public shell_test::ShellQtTest {
protected:
    // The main window in `table`'s language, set to evaluate a tone recording without the
    // editor.
    void start(const shell::Strings& table) {
        shell_test::use_table(table);
        interp_.eval("rovantel");
        shell::set_tagged("cut_File", "Value", Value(0.0));
        write_tone("run.wav");
        shell::set_tagged("wav_file", "String", Value("run.wav"));
    }
    // Clicks calculate; returns what went to standard error.
    std::string calculate() {
        const Value button = rt::findobj({Value("Style"), Value("pushbutton"), Value("String"),
                                          Value(shell::text_table().push_sdiag)});
        testing::internal::CaptureStderr();
        EXPECT_TRUE(host_->runUserCallback(rt::get(button, "Callback").text()));
        return testing::internal::GetCapturedStderr();
    }
    // The texts of the error dialogs so far: the program's own and the run-time's.
    std::vector<std::string> error_dialogs() const {
        std::vector<std::string> out;
        for (const auto& d : dialogs_.shown())
            if (d.kind == rt::ScriptedDialogs::Kind::Error) out.push_back(d.text);
        for (const auto& text : dialogs_.reported()) out.push_back(text);
        return out;
    }
    std::size_t runs() const {
        std::size_t n = 0;
        for (double h : rt::findobj({Value("Type"), Value("line")}).real()) {
            const Value tag = rt::graphics().get(h, "Tag");
            n += tag.isChar() && tag.text16().rfind(u"Diag", 0) == 0;
        }
        return n;
    }
    testsupport::WorkingFolder folder_{"rovantel_calc_qt"};
};

// Whatever fails on a field that is no number follows from it: the field's dialog is the
// only one. The drum model needs no rolling-resistance coefficient and draws its run, and
// the diagram's reading of the record does not name the field again.
TEST_F(CalcDiagQt, AFieldThatIsNoNumberGivesOneDialogNamingIt) {
    const shell::Strings& st = shell::german_table();
    start(st);
    struct Case {
        const char* tag;
        const char* text;
        double ch2;  // row of channel 2 beside the alternator; 3 is the drum
        std::u16string label;
        std::size_t runs;
    };
    const Case cases[] = {{"air_temp", "12a", 4, st.air_temp, 0},
                          {"total_mass", "2OO", 4, st.total_mass, 0},
                          {"max_rpm", "", 4, st.max_rpm, 0},
                          {"fro_value", "0,0x", 4, st.fro_value, 0},
                          {"fro_value", "0,0x", 3, st.fro_value, 1}};
    // The drum run is whatever the alternator's tone makes of it: all of it is kept.
    shell::set_tagged("cut_Vmax", "Value", Value(0.0));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + (c.ch2 == 3 ? " drum" : " road"));
        shell::set_tagged("popup_sig_ch2", "Value", Value(c.ch2));
        const Value kept = shell::get_tagged(c.tag, "String");
        shell::set_tagged(c.tag, "String", Value(c.text));
        const std::size_t before = error_dialogs().size();
        dialogs_.expectError();
        const std::string err = calculate();
        const std::vector<std::string> shown = error_dialogs();
        ASSERT_EQ(shown.size(), before + 1) << shown.back();
        EXPECT_EQ(shown.back(), rt::utf8(st.error_num2s + c.label) +
                                    rt::utf8(rt::strrep(rt::utf16(c.text), u",", u".")));
        EXPECT_EQ(runs(), c.runs);
        // The follow-on is kept for whoever reads standard error.
        if (c.runs == 0) {
            EXPECT_NE(err.find("Error in callback: "), std::string::npos) << err;
        }
        const Value mfig = shell::tagged("Main Figure");
        EXPECT_EQ(rt::get(mfig, "Pointer").text(), "arrow");
        EXPECT_TRUE(rt::findobj({mfig, Value("Enable"), Value("inactive")}).isEmpty());
        shell::set_tagged(c.tag, "String", kept);
    }
}

// A check of the evaluation fails into the one dialog of the calculate button, in the
// build's language.
TEST_F(CalcDiagQt, TheEvaluationsOwnChecksSpeakTheBuildsLanguage) {
    start(shell::french_table());
    shell::set_tagged("min_rpm", "String", Value("7000"));
    shell::set_tagged("max_rpm", "String", Value("7000"));
    dialogs_.expectError();
    calculate();
    const std::vector<std::string> shown = error_dialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Les régimes minimum et maximum doivent être différents.");
}

}  // namespace

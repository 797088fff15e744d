// The channel table: each of the 21 cases runs its editor and its conversions with the
// right channels and factors, scales and joins their results, and ends where it must.
#include "evaluation/channel_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "runtime/dispatch/error.h"
#include "support/test_helpers.h"

namespace {

using evaluation::ChannelCalls;
using evaluation::ChannelParams;

constexpr double kL = 3, kW = 2, kUr = 0.5, kU = 1.9, kR = 6;
const double kDrum = kW / kUr * kU / kR;

// Channel 1 holds 1s, channel 2 2s: a call shows which it was given.
std::string which(const Eigen::Ref<const Eigen::MatrixXd>& Y) {
    if (Y.cols() == 2) return "12";
    return Y(0, 0) == 1 ? "1" : "2";
}
// The same of a channel read a stretch at a time: the mean of both is 1.5.
std::string which(const sig::SampleReader& read) {
    double first = 0;
    read(0, 1, &first);
    return first == 1 ? "1" : first == 2 ? "2" : "12";
}
std::string chs(const std::vector<int>& ch) {
    std::string s;
    for (int c : ch) s += std::to_string(c);
    return s.empty() ? "-" : s;
}
std::string name(double x) {
    if (x == kL) return "l";
    if (x == kW) return "W";
    if (x == kU) return "u";
    if (x == kDrum) return "drum";
    if (x == 1) return "1";
    return std::to_string(x);
}

// Tone series: 10 revolutions per second at 0.2, 0.24, ... 2.16 s; pulse series: 20 per
// second at 0.5, 0.6, ... 3.4 s.
struct Fake {
    std::vector<std::string> log;
    bool cancel = false;
    ChannelCalls calls() {
        ChannelCalls c;
        c.wav2v = [this](const Eigen::Ref<const Eigen::MatrixXd>& Y, double, double n, double L,
                         double mr, double Mr, const evaluation::Track& track) {
            EXPECT_EQ(mr, 500);
            EXPECT_EQ(Mr, 16000);
            log.push_back("wav2v " + which(Y) + " " + name(n) + " " + name(L) +
                          (track.f.size() ? " track" : ""));
            evaluation::ToneSeries s;
            s.t = Eigen::VectorXd::LinSpaced(50, 0.2, 2.16);
            s.v = Eigen::VectorXd::Constant(50, 10);
            return s;
        };
        c.dig2v = [this](Eigen::Index, const sig::SampleReader& read, double, double a, double b) {
            log.push_back("dig2v " + which(read) + " " + name(a) + " " + name(b));
            evaluation::PulseSeries s;
            s.t = Eigen::VectorXd::LinSpaced(30, 0.5, 3.4);
            s.v = Eigen::VectorXd::Constant(30, 20);
            return s;
        };
        c.cut_file_spect = [this](const Eigen::MatrixXd& Y, double, const std::vector<int>& ch,
                                  double L, double, double) -> std::optional<Eigen::MatrixXd> {
            log.push_back("spect " + chs(ch) + " " + name(L));
            if (cancel) return std::nullopt;
            return Y;
        };
        c.era_file_spect = [this](const Eigen::MatrixXd& Y, double, const std::vector<int>& ch,
                                  double L, double, double) -> std::optional<ChannelCalls::Erased> {
            log.push_back("erase " + chs(ch) + " " + name(L));
            return ChannelCalls::Erased{
                Y, {Eigen::VectorXd::Constant(5, 30), Eigen::VectorXd::LinSpaced(5, 0, 1)}};
        };
        c.cut_file_digi = [this](const Eigen::MatrixXd& Y, double, double a, double b,
                                 const std::vector<int>& ch) -> std::optional<Eigen::MatrixXd> {
            log.push_back("digi " + chs(ch) + " " + name(a) + " " + name(b));
            if (cancel) return std::nullopt;
            return Y;
        };
        return c;
    }
};

Eigen::MatrixXd recording() {
    Eigen::MatrixXd Y(100, 2);
    Y.col(0).setConstant(1);
    Y.col(1).setConstant(2);
    return Y;
}

ChannelParams params(int ch1, int ch2, bool cut) {
    ChannelParams p;
    p.r = kR, p.u = kU, p.l = kL, p.ur = kUr, p.W = kW, p.mr = 500, p.Mr = 16000;
    p.sig_ch1 = ch1, p.sig_ch2 = ch2, p.cut = cut;
    return p;
}

std::string joined(const std::vector<std::string>& log) {
    std::string s;
    for (const auto& e : log) s += (s.empty() ? "" : " | ") + e;
    return s;
}

struct Case {
    int ch1, ch2;
    const char* calls;  // with the editor box ticked
    double v_last, rpm_last, t_first;
};

const double kEngine = 10 * kU / kR;         // 10 revolutions per second of the engine
const double kWheelRpm = 20 * 60 * kR / kU;  // 20 m/s of wheel speed
const double kDrumV = 10 * kUr;              // 10 drum revolutions per second
const double kDrumRpm = kDrumV * 60 / kU * kR;
const double kSpark = 20 * kU / kR;  // 20 sparks per second

const Case kCases[] = {
    {1, 1, "spect 12 l | erase 12 l | wav2v 12 l l track", kEngine, 600, 0.2},
    {1, 2, "spect 1 l | erase 1 l | wav2v 1 l l track | dig2v 2 u W", 20, 600, 0.5},
    {1, 3, "spect 1 l | erase 1 l | wav2v 1 l l track | wav2v 2 W drum", kDrumV, 600, 0.2},
    {1, 4, "spect 1 l | erase 1 l | wav2v 1 l l track", kEngine, 600, 0.2},
    {2, 1, "spect 2 l | erase 2 l | wav2v 2 l l track | dig2v 1 u W", 20, 600, 0.5},
    {2, 2, "digi - u W | dig2v 12 u W", 20, kWheelRpm, 0},
    {2, 3, "digi 1 u W | dig2v 1 u W | dig2v 2 1 1", 20, 1200, 0},
    {2, 4, "digi 1 u W | dig2v 1 u W", 20, kWheelRpm, 0},
    {3, 1, "spect 2 l | erase 2 l | wav2v 2 l l track | wav2v 1 W drum", kDrumV, 600, 0.2},
    {3, 2, "spect 12 drum | erase 12 drum | wav2v 12 W drum track", kDrumV, kDrumRpm, 0.2},
    {3, 3, "spect 1 drum | erase 1 drum | dig2v 2 1 1 | wav2v 1 W drum track", kDrumV, 1200, 0.2},
    {3, 4, "spect 1 drum | erase 1 drum | wav2v 1 W drum track", kDrumV, kDrumRpm, 0.2},
    {4, 1, "digi 2 u W | dig2v 2 u W | dig2v 1 1 1", 20, 1200, 0},
    {4, 2, "spect 2 drum | erase 2 drum | dig2v 1 1 1 | wav2v 2 W drum track", kDrumV, 1200, 0.2},
    {4, 3, "digi - 1 1 | dig2v 12 1 1", kSpark, 1200, 0.5},
    {4, 4, "digi 1 1 1 | dig2v 1 1 1", kSpark, 1200, 0.5},
    {5, 1, "spect 2 l | erase 2 l | wav2v 2 l l track", kEngine, 600, 0.2},
    {5, 2, "digi 2 u W | dig2v 2 u W", 20, kWheelRpm, 0},
    {5, 3, "spect 2 drum | erase 2 drum | wav2v 2 W drum track", kDrumV, kDrumRpm, 0.2},
    {5, 4, "digi 2 1 1 | dig2v 2 1 1", kSpark, 1200, 0.5},
};

// Without the editor: the same conversions, none of them with a track.
std::string without_editor(std::string calls) {
    std::istringstream in(calls);
    std::string part, out;
    while (std::getline(in, part, '|')) {
        if (part.find("spect") != std::string::npos || part.find("erase") != std::string::npos ||
            part.find("digi") != std::string::npos)
            continue;
        const auto at = part.find(" track");
        if (at != std::string::npos) part.erase(at, 6);
        while (!part.empty() && part.front() == ' ') part.erase(0, 1);
        while (!part.empty() && part.back() == ' ') part.pop_back();
        out += (out.empty() ? "" : " | ") + part;
    }
    return out;
}

TEST(ChannelTable, EveryCaseRunsItsEditorAndConversionsAndScalesTheirResults) {
    const shell::Strings& st = shell::german_table();
    for (const Case& k : kCases) {
        for (bool cut : {true, false}) {
            Fake fake;
            const auto run = evaluation::channel_table(recording(), 44100,
                                                       params(k.ch1, k.ch2, cut), st, fake.calls());
            const std::string label = "(" + std::to_string(k.ch1) + "," + std::to_string(k.ch2) +
                                      ") cut " + std::to_string(cut);
            EXPECT_EQ(joined(fake.log), cut ? k.calls : without_editor(k.calls)) << label;
            ASSERT_TRUE(run.has_value()) << label;
            ASSERT_EQ(run->t.size(), run->v.size()) << label;
            ASSERT_EQ(run->t.size(), run->rpm.size()) << label;
            EXPECT_NEAR(run->t(0), k.t_first, 1e-12) << label;
            EXPECT_NEAR(run->v(run->v.size() - 1), k.v_last, 1e-9) << label;
            EXPECT_NEAR(run->rpm(run->rpm.size() - 1), k.rpm_last, 1e-9) << label;
        }
    }
}

// The engine-speed series of a second channel is joined at the speed's times: outside its
// times there is none, except that the pulse cases carry its last value to the last speed.
TEST(ChannelTable, EngineSpeedOfTheOtherChannelIsJoinedAtTheSpeedsTimes) {
    const shell::Strings& st = shell::german_table();
    Fake fake;
    // (3,3): tone times 0.2 … 2.16 s, sparks 0.5 … 3.4 s, no extension: NaN before 0.5 s.
    auto run = evaluation::channel_table(recording(), 44100, params(3, 3, false), st, fake.calls());
    ASSERT_TRUE(run);
    EXPECT_TRUE(std::isnan(run->rpm(0)));
    EXPECT_EQ(run->rpm(8), 1200);  // 0.52 s
    // (1,2): pulse times past the tone's last time get its last value from the extension.
    run = evaluation::channel_table(recording(), 44100, params(1, 2, false), st, fake.calls());
    ASSERT_TRUE(run);
    EXPECT_EQ(run->rpm.size(), 30);
    EXPECT_TRUE((run->rpm.array() == 600).all());

    // (2,1) with a tone that outlasts the pulses: the last speed sample (3.4 s) is
    // interpolated like every other, not given the engine speed of the tone's end.
    ChannelCalls calls = fake.calls();
    calls.wav2v = [](const Eigen::Ref<const Eigen::MatrixXd>&, double, double, double, double,
                     double, const evaluation::Track&) {
        evaluation::ToneSeries s;
        s.t = Eigen::VectorXd::LinSpaced(97, 0.21, 4.05);  // 0.04 s apart, none at 3.4 s
        s.v = s.t;                                         // 1 revolution per second per second
        return s;
    };
    run = evaluation::channel_table(recording(), 44100, params(2, 1, false), st, calls);
    ASSERT_TRUE(run);
    ASSERT_EQ(run->rpm.size(), 30);
    for (Eigen::Index i = 0; i < 30; ++i)
        EXPECT_NEAR(run->rpm(i), run->t(i) * 60, 1e-9) << "at " << run->t(i) << " s";
}

TEST(ChannelTable, CancelledEditorsBothOffAndUnknownPairsEndTheTable) {
    const shell::Strings& st = shell::german_table();
    for (auto [ch1, ch2] : {std::pair{1, 1}, {2, 2}, {3, 3}, {5, 4}}) {
        Fake fake;
        fake.cancel = true;
        EXPECT_FALSE(
            evaluation::channel_table(recording(), 44100, params(ch1, ch2, true), st, fake.calls()))
            << ch1 << ch2;
        EXPECT_EQ(fake.log.size(), 1u) << "nothing after the cancelled editor";
    }
    EXPECT_EQ(rt::utf8(evaluation::both_off_message(st)),
              "Linker Kanal: Aus - Rechter Kanal: Aus!");
    Fake fake;
    EXPECT_EQ(testsupport::errorOf([&] {
                  evaluation::channel_table(recording(), 44100, params(1, 5, false), st,
                                            fake.calls());
              }),
              "Diese Kanalwahl bieten die Kanallisten nicht an: (1, 5)");
    EXPECT_TRUE(fake.log.empty());
}

TEST(ChannelTable, DrumModelWheneverAChannelCarriesTheDrum) {
    int drums = 0;
    for (const Case& k : kCases) drums += evaluation::drum_on_a_channel(k.ch1, k.ch2);
    EXPECT_EQ(drums, 7);
    for (auto [a, b] : {std::pair{1, 3}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 2}, {5, 3}})
        EXPECT_TRUE(evaluation::drum_on_a_channel(a, b)) << a << b;
    EXPECT_FALSE(evaluation::drum_on_a_channel(2, 3));  // wheel sensors with the ignition clamp
    EXPECT_EQ(evaluation::channel2_type(4, 1), evaluation::Signal::Wheel);
    EXPECT_FALSE(evaluation::channel2_type(2, 5));
}

}  // namespace

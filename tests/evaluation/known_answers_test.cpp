// The calculate button on three generated recordings, against answers recorded before the
// evaluation's transforms, reading and copies were reworked: the results must not move.
#include <cmath>
#include <random>

#include "diagram/diagram_fixture.h"
#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "signal/wavwrite.h"

namespace {

using rt::Value;

constexpr double kPi = 3.141592653589793;

// A run of `seconds` whose engine speed rises from 3000 to 11,000 1/min along a square root.
struct Run {
    double seconds;
    double rps(double t) const { return (3000 + 8000 * std::sqrt(t / seconds)) / 60; }
    double turns(double t) const {
        return (3000 * t + 8000 * 2.0 / 3 * t * std::sqrt(t / seconds)) / 60;
    }
};

// Noise from the generator's raw output, so that the recording is the same everywhere.
struct Noise {
    std::mt19937 gen;
    double amp;
    double operator()() { return amp * (double(gen()) / 4294967296.0 - 0.5); }
};

enum class Ch2 { Tone, Wheel, Silent };

// Channel 1: the alternator tone (3 per revolution, two harmonics, noise). Channel 2: the tone
// again, a little different, or one pulse per wheel revolution (gear ratio 6, ...), or nothing.
Eigen::MatrixXd recording(double fs, double seconds, Ch2 ch2) {
    const Run run{seconds};
    const auto n = static_cast<Eigen::Index>(fs * seconds);
    Eigen::MatrixXd y = Eigen::MatrixXd::Zero(n, 2);
    Noise a{std::mt19937(11), 0.3}, b{std::mt19937(12), 0.3};
    for (Eigen::Index i = 0; i < n; ++i) {
        const double phase = 2 * kPi * 3 * run.turns(double(i) / fs);
        const double s = 0.5 * std::sin(phase) + 0.2 * std::sin(2 * phase + 1);
        y(i, 0) = s + a();
        if (ch2 == Ch2::Tone) y(i, 1) = 0.8 * s + b();
        if (ch2 == Ch2::Wheel) y(i, 1) = 0.5 * b();
    }
    if (ch2 == Ch2::Wheel) {
        double t = 0;
        for (int k = 1; run.turns(seconds) / 6 > k; ++k) {
            for (int it = 0; it < 40; ++it) t -= (run.turns(t) / 6 - k) / (run.rps(t) / 6);
            const auto i = static_cast<Eigen::Index>(std::ceil(t * fs));
            const double shape[] = {0.4, 0.7, -0.7, -0.4};
            for (Eigen::Index j = 0; j < 4 && i + j < n; ++j) y(i + j, 1) += shape[j];
        }
    }
    return y.cwiseMax(-0.99).cwiseMin(0.99);
}

// A series by its length, five samples spread over it and its sum.
struct Summary {
    double n, at[5], sum;
};

Summary summary(const std::vector<double>& v) {
    Summary s{double(v.size()), {}, 0};
    if (v.empty()) return s;
    for (int k = 0; k < 5; ++k) s.at[k] = v[(v.size() - 1) * std::size_t(k) / 4];
    for (double x : v) s.sum += x;
    return s;
}

void expectNear(const Summary& got, const Summary& want, const std::string& what) {
    ASSERT_EQ(got.n, want.n) << what;
    const auto near = [&](double g, double w, const std::string& which) {
        EXPECT_LE(std::fabs(g - w), 1e-9 * std::fabs(w)) << what << " " << which << ": " << g;
    };
    for (int k = 0; k < 5; ++k) near(got.at[k], want.at[k], "sample " + std::to_string(k));
    near(got.sum, want.sum, "sum");
}

struct Case {
    const char* name;
    double fs, bits, seconds;
    Ch2 ch2;
    double sig_ch2;  // the row of channel 2's list (alternator: 1 alternator, 2 wheel, 4 off)
    Summary cacheT, cacheV, cacheRpm, x, power, torque;
};

class KnownAnswers : public diagram_test::DiagramTest {
protected:
    void SetUp() override {
        DiagramTest::SetUp();
        shell::set_tagged("cut_File", "Value", Value(0.0));
    }
};

// Recorded from the evaluation as it stood with chirp-z FFTs of 8192 points and the whole
// recording decoded into a matrix; the torque is the half-scale curve as drawn.
const Case kCases[] = {
    {"tone on both channels, 16 bit at 44.1 kHz",
     44100,
     16,
     6,
     Ch2::Tone,
     1,
     {140,
      {0.20000000000000001, 1.5607709750566894, 2.9615646258503405, 4.3623582766439908,
       5.7631519274376419},
      417.42063492063494},
     {140,
      {15.684291490857946, 24.747077180028132, 30.126977848101262, 34.315356891701825,
       37.889921765119546},
      4097.7942818213778},
     {140,
      {4488.666666666667, 7082.3333333333339, 8622, 9820.6666666666661, 10843.666666666666},
      1172742.333333333},
     {140,
      {4460.1892859934223, 7082.0550800388037, 8619.7964173295859, 9821.817024566526,
       10853.982193847633},
      1172545.1298787722},
     {140,
      {44.879250996004792, 36.865900978118567, 37.338559436134631, 40.328681772859923,
       45.592428634892556},
      5561.9809289654386},
     {140,
      {35.33839471632713, 18.281846550456795, 15.213006710468211, 14.420379653991255,
       14.752245443750949},
      2458.158203799288}},
    {"tone and wheel, 16 bit at 44.1 kHz",
     44100,
     16,
     6,
     Ch2::Wheel,
     2,
     {135,
      {0.33766439909297052, 2.1507936507936507, 3.5878231292517007, 4.8140816326530613,
       5.9709070294784583},
      467.11988662131535},
     {135,
      {17.621381182147164, 28.573349633251816, 33.73700923787522, 37.360933503836129,
       40.381824464409078},
      4396.1894217055842},
     {135,
      {4911.8883852691224, 7792.3474976392827, 9186.1004721435311, 10167.591501416431,
       10843.666666666666},
      1197219.1246458932},
     {135,
      {4882.0406767057048, 7789.5986665006503, 9185.5004124621973, 10165.380038685995,
       10851.137221584251},
      1196831.4840059809},
     {135,
      {40.737431584109849, 41.26090287032973, 43.385743202021452, 46.798209292216477,
       52.369710521373179},
      6050.9700376794681},
     {135,
      {29.30533954910311, 18.60279291457973, 16.58817955293695, 16.168142303463679,
       16.949598884918551},
      2472.9764345853364}},
    {"tone on channel 1, float at 48 kHz",
     48000,
     32,
     5,
     Ch2::Silent,
     4,
     {115,
      {0.20000000000000001, 1.3206349206349206, 2.481292517006803, 3.6019274376417236,
       4.7625850340136058},
      285.34863945578235},
     {115,
      {16.261998945147678, 24.855397327707458, 30.163084563994367, 34.207036744022496,
       37.745494901547104},
      3368.7391218354419},
     {115,
      {4654, 7113.3333333333348, 8632.3333333333321, 9789.6666666666661, 10802.333333333332},
      964095.00000000012},
     {115,
      {4623.3016203045354, 7112.4171385541749, 8635.7750627531295, 9790.9929534500261,
       10814.488378429483},
      963922.97623876308},
     {115,
      {49.417616694308499, 42.364068607364359, 42.852082657068387, 45.29511405422847,
       49.52569585007997},
      5205.160646094163},
     {115,
      {37.539119028747137, 20.918712450449501, 17.42709984894455, 16.247222453816295,
       16.083446367412915},
      2297.5004672836658}},
};

TEST_F(KnownAnswers, TheCalculateButtonGivesTheRecordedCurves) {
    for (const Case& c : kCases) {
        const std::string file = std::string(c.name).substr(0, 4) + std::to_string(int(c.fs)) +
                                 std::to_string(int(c.sig_ch2)) + ".wav";
        sig::wavwrite(recording(c.fs, c.seconds, c.ch2), c.fs, c.bits, file);
        type("wav_file", file);
        choose("popup_sig_ch1", 1);
        choose("popup_sig_ch2", c.sig_ch2);
        click_label(shell::text_table().push_sdiag);
        ASSERT_TRUE(dialogs_.shown().empty()) << c.name << ": " << dialogs_.shown()[0].text;
        const auto lines = [&](const std::u16string& prefix) {
            std::vector<rt::Handle> out;
            for (rt::Handle h : tagged_from(prefix))
                if (rt::get(Value(h), "Type").text() == "line" &&
                    rt::get(Value(h), "LineStyle").text() == "-")
                    out.push_back(h);
            return out;
        };
        const std::vector<rt::Handle> diag = lines(u"Diag"), diag2 = lines(u"2Diag");
        ASSERT_EQ(diag.size(), 1u);
        ASSERT_EQ(diag2.size(), 1u);
        const rt::Value d1(diag.back()), d2(diag2.back());
        expectNear(summary(rt::get(d1, "XData").real()), c.x, std::string(c.name) + ", x");
        expectNear(summary(rt::get(d1, "YData").real()), c.power, std::string(c.name) + ", power");
        // The second quantity, drawn at half scale.
        expectNear(summary(rt::get(d2, "YData").real()), c.torque,
                   std::string(c.name) + ", torque");
        // The conversion's own series, as cached.
        for (double h : rt::get(shell::tagged("Saved Data"), "Children").real()) {
            const std::string tag = rt::get(Value(h), "Tag").text();
            const bool rpm = tag.size() > 3 && tag.substr(tag.size() - 3) == "RPM";
            expectNear(summary(rt::get(Value(h), "YData").real()), rpm ? c.cacheRpm : c.cacheV,
                       std::string(c.name) + (rpm ? ", cached rpm" : ", cached speed"));
            expectNear(summary(rt::get(Value(h), "XData").real()), c.cacheT,
                       std::string(c.name) + ", cached times");
        }
        interp_->eval("clear_cache");
        for (double f : rt::findobj({Value("Type"), Value("figure")}).real())
            if (rt::get(Value(f), "Tag").text() != "Main Figure") rt::close({Value(f)});
    }
}

}  // namespace

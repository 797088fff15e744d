// The cut windows: what they show, how they end, and which samples they hand back.
#include "editor_fixture.h"
#include "support/shell_test_support.h"
#include "support/test_helpers.h"

namespace {

using editor_test::EditorTest;
using editor_test::recording;
using rt::Value;

class CutWindow : public EditorTest {
protected:
    // cut_file_spect by name with ch, L 3 and the band 2000..10000 1/min.
    rt::Values spect(const Eigen::MatrixXd& Y, double FS, const Value& ch = Value::row({1, 2})) {
        return call("cut_file_spect",
                    {rt::fromMatrix(Y), Value(FS), ch, Value(3.0), st_value(), Value(2000.0),
                     Value(10000.0)},
                    2);
    }
    std::vector<double> image_x() const {
        return rt::get(Value(tagged1("SpectrumI")), "XData").real();
    }
};

TEST_F(CutWindow, ShowsTheFrameAndASpectrogramOfThe8820HzSamplesAndKeepsBothBoundsOnNext) {
    const double FS = 8820;
    const Eigen::MatrixXd Y = recording(4, FS);
    rt::Values seen;
    std::vector<double> xlim;
    on_wait([&] {
        const Value fig(window());
        EXPECT_EQ(rt::get(fig, "Toolbar").text(), "none");
        EXPECT_EQ(rt::get(Value(axes()), "NextPlot").text(), "add");
        // The seven controls in their order, oldest first.
        const auto kids = rt::graphics().children(window());
        std::vector<std::string> styles;
        for (auto it = kids.rbegin(); it != kids.rend(); ++it)
            if (rt::graphics().type(*it) == rt::ObjectType::UIControl)
                styles.push_back(rt::get(Value(*it), "Style").text());
        EXPECT_EQ(styles, (std::vector<std::string>{"frame", "text", "edit", "pushbutton",
                                                    "pushbutton", "pushbutton", "pushbutton"}));
        const Value image(tagged1("SpectrumI"));
        const Value cdata = rt::get(image, "CData");
        EXPECT_EQ(cdata.rows(), 301u);
        const auto x = image_x();
        // No resampling: 4 s at 8820 Hz in slices of 3528 moving 3211 samples.
        EXPECT_EQ(x.size(), cdata.cols());
        EXPECT_EQ(x.size(), std::size_t((4 * 8820 - 3528) / 3211 + 1));
        EXPECT_DOUBLE_EQ(x.front(), 0.2);
        EXPECT_NEAR(x[1] - x[0], 3211 / 8820.0, 1e-12);
        const auto y = rt::get(image, "YData").real();
        EXPECT_NEAR(y.front(), 2000, 1e-9);
        EXPECT_NEAR(y.back(), 10000, 1e-9);
        xlim = rt::get(Value(axes()), "XLim").real();
        EXPECT_EQ(xlim, (std::vector<double>{x.front(), x.back()}));
        EXPECT_EQ(rt::get(Value(axes()), "YDir").text(), "normal");
        // The tone peaks near the rpm it has at the slice's centre.
        const Eigen::MatrixXd cd = rt::toMatrix(cdata);
        Eigen::Index row = 0;
        cd.col(5).maxCoeff(&row);
        const double rpm_at = 3000 + 6000 * x[5] / 4;
        EXPECT_NEAR(y[static_cast<std::size_t>(row)], rpm_at, 60);
        next();
    });
    seen = spect(Y, FS);
    EXPECT_EQ(seen[1].scalar(), 1);
    EXPECT_EQ(window(), 0) << "next closes the window";
    EXPECT_TRUE(main_busy()) << "the evaluation goes on";
    // From the first slice centre (0.2 s is exactly sample 1764, kept) to the last.
    const Eigen::MatrixXd out = rt::toMatrix(seen[0]);
    const Eigen::Index last = 9 * 3211 + 1764;
    ASSERT_NEAR(double(out.rows()), double(last - 1764 + 1), 1);
    EXPECT_EQ(out.row(0), Y.row(1764));
}

TEST_F(CutWindow, A44kHzRecordingIsResampledForTheDisplayButCutAtItsOwnRate) {
    const double FS = 44100;
    const Eigen::MatrixXd Y = recording(3, FS);
    on_wait([&] {
        // The display runs at 8820 Hz: as many slices as 3 s at 8820 Hz give.
        EXPECT_EQ(image_x().size(), std::size_t((3 * 8820 - 3528) / 3211 + 1));
        zoom_to(1, 2);
        next();
    });
    const rt::Values out = spect(Y, FS, Value(1.0));
    ASSERT_EQ(out[1].scalar(), 1);
    const Eigen::MatrixXd cut = rt::toMatrix(out[0]);
    ASSERT_EQ(cut.rows(), 44101) << "1 s to 2 s at 44.1 kHz, both bounds kept";
    EXPECT_EQ(cut.cols(), 2);
    EXPECT_EQ(cut.row(0), Y.row(44100));
    EXPECT_EQ(cut.row(44100), Y.row(88200));
}

TEST_F(CutWindow, OverlapIs317UpTo20SecondsAnd158Beyond) {
    const double FS = 8820;
    for (const auto& [n, step] : {std::pair{Eigen::Index(20 * 8820), 3528 - 317},
                                  std::pair{Eigen::Index(20 * 8820 + 1), 3528 - 158}}) {
        SCOPED_TRACE(n);
        Eigen::MatrixXd Y(n, 2);
        Y.col(0) = editor_test::engine_tone(n, FS, 3, 4000, 6000);
        Y.col(1) = Y.col(0);
        on_wait([&] {
            const auto x = image_x();
            EXPECT_NEAR(x[1] - x[0], step / 8820.0, 1e-12);
            cancel();
        });
        busy();
        spect(Y, FS);
    }
}

TEST_F(CutWindow, CancelAndClosingHandBackNothingAndMakeTheMainWindowReady) {
    const Eigen::MatrixXd Y = recording(2, 8820);
    on_wait([&] { cancel(); });
    rt::Values out = spect(Y, 8820);
    EXPECT_EQ(out[1].scalar(), 0);
    EXPECT_EQ(window(), 0) << "cancel closes the window";
    EXPECT_TRUE(main_ready());

    busy();
    on_wait([&] { rt::close({Value(window())}); });
    out = spect(Y, 8820);
    EXPECT_EQ(out[1].scalar(), 0);
    EXPECT_TRUE(main_ready());
    // The working signal: the mono analysis signal without its mean.
    EXPECT_EQ(rt::toMatrix(out[0]).cols(), 1);
    EXPECT_NEAR(rt::toMatrix(out[0]).mean(), 0, 1e-12);
}

TEST_F(CutWindow, AnIntervalWithoutSamplesHandsBackAnEmptyRecordingWithOk1) {
    const Eigen::MatrixXd Y = recording(2, 8820);
    on_wait([&] {
        zoom_to(0.30001, 0.30002);  // between two sample times
        next();
    });
    const rt::Values out = spect(Y, 8820);
    EXPECT_EQ(out[1].scalar(), 1);
    EXPECT_EQ(rt::toMatrix(out[0]).rows(), 0);
}

TEST_F(CutWindow, CallbackStringsCarryAPathWithAnApostropheIntact) {
    shell::set_tagged("wav_file", "String", Value("Mike's runs/run1.wav"));
    on_wait([&] {
        const Value save = rt::findobj({Value(window()), Value("String"), Value(st().save)});
        EXPECT_EQ(rt::get(save, "Callback").text(), "save_wav_cut('Mike''s runs/run1.wav')");
        EXPECT_EQ(rt::get(Value(tagged1("wav_cut_file")), "String").text(), "Mike's runs/run1.wav");
        const std::string fig = rt::get(Value(window()), "Name").text();
        EXPECT_EQ(fig, rt::utf8(st().cut_File));
        cancel();
    });
    spect(recording(1, 8820), 8820);
}

TEST_F(CutWindow, SpeedPlotShowsKmhAndDropsSamplesOnTheBounds) {
    // Wheel pulses every 0.1 s: 13.25 m/s with a 1.325 m tire and one pulse a revolution.
    const double FS = 1000;
    Eigen::MatrixXd Y = Eigen::MatrixXd::Zero(5000, 2);
    for (Eigen::Index i = 50; i < 5000; i += 100) Y(i, 0) = 1;
    Y.col(1) = Y.col(0);
    on_wait([&] {
        const Value fig(window());
        EXPECT_NE(rt::get(fig, "Toolbar").text(), "none");
        const auto lines = rt::findobj({Value(axes()), Value("Type"), Value("line")}).real();
        ASSERT_EQ(lines.size(), 1u);
        const auto v = rt::get(Value(lines[0]), "YData").real();
        for (double k : v) EXPECT_NEAR(k, 13.25 * 3.6, 1e-9);
        const auto ylim = rt::get(Value(axes()), "YLim").real();
        EXPECT_NEAR(ylim[0], -5, 1e-12);
        EXPECT_NEAR(ylim[1], 1.3 * 13.25 * 3.6, 1e-9);
        EXPECT_EQ(rt::get(Value(axes()), "XGrid").text(), "on");
        zoom_to(1, 2);  // samples 1000 and 2000 lie on the bounds
        done();
    });
    const rt::Values out = call(
        "cut_file_digi", {rt::fromMatrix(Y), Value(FS), Value(1.325), Value(1.0), st_value()}, 2);
    ASSERT_EQ(out[1].scalar(), 1);
    const Eigen::MatrixXd cut = rt::toMatrix(out[0]);
    ASSERT_EQ(cut.rows(), 999);
    EXPECT_EQ(cut.row(0), Y.row(1001));
}

// Called by name, an editor may be handed a rate that would size its resampling beyond any
// memory; it refuses it as the evaluation does, before a window opens.
TEST_F(CutWindow, EachEditorRefusesARateTheEvaluationRefuses) {
    shell::set_tagged("wav_file", "String", Value("run.wav"));
    const Eigen::MatrixXd Y = recording(1, 8820);
    const std::string refused =
        "\"run.wav\" kann nicht ausgewertet werden: Die Abtastrate muss zwischen 1 kHz und "
        "384 kHz liegen; die Datei nennt ";
    const std::pair<double, const char*> rates[] = {{1, "1"}, {0, "0"}, {4e9, "4000000000"}};
    for (const auto& [FS, said] : rates)
        for (const std::string name : {"cut_file_spect", "era_file_spect", "cut_file_digi"}) {
            const rt::Values in =
                name == "cut_file_digi"
                    ? rt::Values{rt::fromMatrix(Y), Value(FS), Value(1.0), Value(1.0), st_value()}
                    : rt::Values{rt::fromMatrix(Y), Value(FS),     Value::row({1, 2}), Value(3.0),
                                 st_value(),        Value(2000.0), Value(10000.0)};
            EXPECT_EQ(testsupport::errorOf([&] { call(name, in, 2); }), refused + said + " Hz.")
                << name;
            EXPECT_EQ(window(), 0) << name;
        }
}

// A pulse channel without a pulse: the speed window has nothing to offer, and says so in the
// build's language.
TEST_F(CutWindow, ASpeedPlotWithoutSpeedSaysSoInTheBuildsLanguage) {
    const Eigen::MatrixXd Y = Eigen::MatrixXd::Zero(5000, 2);
    const std::pair<const shell::Strings*, std::string> builds[] = {
        {&shell::german_table(),
         "Die Aufnahme zeigt keine Geschwindigkeit, aus der sich ein Zeitintervall wählen ließe."},
        {&shell::french_table(),
         "L'enregistrement ne montre aucune vitesse permettant de choisir un intervalle de "
         "temps."}};
    for (const auto& [table, text] : builds) {
        shell_test::use_table(*table);
        EXPECT_EQ(testsupport::errorOf([&] {
                      call("cut_file_digi",
                           {rt::fromMatrix(Y), Value(1000.0), Value(1.325), Value(1.0), st_value()},
                           2);
                  }),
                  text);
    }
    shell_test::use_table(st());
}

}  // namespace

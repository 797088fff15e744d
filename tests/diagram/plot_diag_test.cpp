#include "diagram/plot_diag.h"

#include "diagram_fixture.h"
#include "runtime/value/num2str.h"
#include "support/test_helpers.h"

using namespace diagram_test;

namespace {

std::vector<double> pos(rt::Handle h) { return rt::get(Value(h), "Position").real(); }
std::string str(rt::Handle h) { return rt::get(Value(h), "String").text(); }

std::vector<rt::Handle> controls_of(rt::Handle fig) {
    return rt::findobj({Value(fig), Value("Type"), Value("uicontrol")}).real();
}

}  // namespace

TEST_F(DiagramTest, FirstRunMakesTheWindowAndEveryFurtherRunAddsABlockOneTenthLower) {
    const auto x = ramp(2000, 9000, 200);
    type("wav_file", "/data/a.wav");
    plot(x, columns(hump(x, 40), hump(x, 60)), {1, 0, 0}, "first", 1, 1, 1.0405);

    const rt::Handle fig = window();
    ASSERT_NE(fig, 0);
    // The y row's padding leaves exactly one trailing blank in the name.
    EXPECT_EQ(rt::get(Value(fig), "Name").text16(),
              u"Diagramme: RPM [1/min] - Leistung[PS]/Drehm[Nm] ");
    EXPECT_EQ(rt::get(Value(fig), "NumberTitle").text(), "off");
    EXPECT_EQ(rt::get(Value(fig), "Units").text(), "pixels");
    const auto p = pos(fig);
    EXPECT_NEAR(p[2], 0.9 * 1919, 1e-9);
    EXPECT_NEAR(p[3], 0.9 * 1079, 1e-9);
    const rt::Handle ad = axes();
    EXPECT_EQ(rt::get(Value(ad), "NextPlot").text(), "add");
    EXPECT_EQ(pos(ad), (std::vector<double>{0.35, 0.12, 0.58, 0.78}));

    const auto buttons = rt::findobj({Value(fig), Value("Style"), Value("pushbutton"),
                                      Value("BackgroundColor"), Value::row({0.8, 0.8, 0.8})})
                             .real();
    ASSERT_EQ(buttons.size(), 3u);
    const std::string f = rt::num2str(fig);
    std::map<std::string, std::string> callbacks;
    for (double b : buttons) {
        EXPECT_NEAR(pos(b)[1], 0.025, 1e-12);
        callbacks[str(b)] = rt::get(Value(b), "Callback").text();
    }
    EXPECT_EQ(callbacks["Mittel"],
              "meanvis([" + rt::num2str(Value::row({fig, 1, 1, 1.0405})).text() + "])");
    EXPECT_EQ(callbacks["ASCII Export"], "export_ascii(" + f + ")");
    EXPECT_EQ(callbacks["Screenshot"], "print_fig(" + f + ")");

    // Frame, checkbox, comment, colour button, two maxima, k and x maximum.
    EXPECT_EQ(controls_of(fig).size(), 3u + 8u);
    type("wav_file", "/data/b.wav");
    plot(x, columns(hump(x, 30), hump(x, 50)), {0, 1, 0}, "second", 1, 1, 1.0405);
    EXPECT_EQ(window(), fig);
    EXPECT_EQ(controls_of(fig).size(), 3u + 16u);
    const auto frames = shell::tagged(figname() + u"CommentFrame").real();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_NEAR(pos(frames[0])[1], 0.77, 1e-12);  // newest first
    EXPECT_NEAR(pos(frames[1])[1], 0.87, 1e-12);
    // Main curve, half-scale curve and dots per run.
    EXPECT_EQ(rt::findobj({Value(ad), Value("Type"), Value("line")}).numel(), 6u);
}

TEST_F(DiagramTest, TheCommentBlockShowsMaximaAndTheFactor) {
    const std::vector<double> x = {1000, 2000, 3000, 4000};
    const Value y = columns({10, 47.555, 47.555, 20}, {80, 90.004, 60, 30});
    type("wav_file", "/data/a.wav");
    plot(x, y, {0, 0, 1}, "maxima", 1, 1, 1.0405);
    std::set<std::string> texts;
    for (double h : rt::findobj({Value(window()), Value("Style"), Value("text")}).real()) {
        texts.insert(str(h));
        EXPECT_EQ(rt::get(Value(h), "FontUnits").text(), "pixels");
        EXPECT_NEAR(rt::get(Value(h), "FontSize").scalar(), 0.014 * 1079, 1e-9);
    }
    // The first of equal maxima counts; the second quantity's maximum is not halved.
    EXPECT_EQ(texts, (std::set<std::string>{"47.56 PS / 2000 1/min", "90 Nm / 2000 1/min",
                                            "k: 1.0405", "Max: 4000 1/min"}));

    // One quantity: its unit is the first of its name.
    plot(x, columns({1.234, 5.678, 3, 2}), {0, 0, 1}, "speed", 2, 6, 1);
    texts.clear();
    for (double h : rt::findobj({Value(window(2, 6)), Value("Style"), Value("text")}).real())
        texts.insert(str(h));
    EXPECT_EQ(texts, (std::set<std::string>{"5.68 km/h / 2000 s", "k: 1", "Max: 4000 s"}));
}

TEST_F(DiagramTest, TheSameRunAgainAddsNothingAndShowsItAgain) {
    const auto x = ramp(2000, 9000, 100);
    type("wav_file", "/data/a.wav");
    plot(x, columns(hump(x, 40), hump(x, 60)));
    const auto before = rt::findobj({}).numel();
    const auto box = shell::tagged(
        u"Checkbox" + figname() + u"/data/a.wav" +
        diagram::parameter_comment(u"run",
                                   {Value(200.0), Value(0.75), Value(0.5), Value(6.32),
                                    Value(1.325), Value(3.0), Value(1.0), Value(1.0)},
                                   1) +
        u"1 -");  // cache generation 1; " -": the state of a file that is not there
    ASSERT_EQ(box.numel(), 1u);

    // The user unticks the run: all three lines go.
    rt::set(box, {Value("Value"), Value(0.0)});
    click(box.scalar());
    EXPECT_TRUE(
        rt::findobj({Value(axes()), Value("Type"), Value("line"), Value("Visible"), Value("on")})
            .isEmpty());

    plot(x, columns(hump(x, 40), hump(x, 60)));
    EXPECT_EQ(rt::findobj({}).numel(), before);
    EXPECT_EQ(rt::get(box, "Value").scalar(), 1);
    EXPECT_EQ(
        rt::findobj({Value(axes()), Value("Type"), Value("line"), Value("Visible"), Value("on")})
            .numel(),
        3u);

    // Another comment, factor or cache generation is another run.
    plot(x, columns(hump(x, 40), hump(x, 60)), {0, 0, 1}, "run", 1, 1, 1.01);
    click("clear_cach");
    plot(x, columns(hump(x, 40), hump(x, 60)));
    EXPECT_EQ(shell::tagged(figname() + u"CommentFrame").numel(), 3u);
}

TEST_F(DiagramTest, ParameterCommentAndRecordingNameJoinTheComment) {
    EXPECT_EQ(diagram::parameter_comment(u"Test",
                                         {Value(200.0), Value(0.75), Value(0.5), Value(6.32),
                                          Value(1.325), Value(3.0), Value(1.0), Value(1.0)},
                                         1.0405),
              u"Test [ M: 200kg  FA: 0.75m²  Cw: 0.5  R: 6.32  U: 1.325m  L#: 3 FL: 1s  S#: 1  "
              u"k: 1.0405 ]");

    const auto x = ramp(2000, 9000, 50);
    auto comment_of_newest = [&](double vy) {
        return rt::findobj({Value(window(1, vy)), Value("Style"), Value("edit")}).real().front();
    };
    // The default comment counts as none; the parameters follow it when asked for.
    rt::set(shell::tagged("add_par_to_comment"), {Value("Value"), Value(1.0)});
    type("wav_file", "/data/runs/a.wav");
    plot(x, columns(hump(x, 40)), {0, 0, 1}, rt::utf8(shell::text_table().comment), 1, 3);
    EXPECT_EQ(str(comment_of_newest(3)).rfind(" [ M: 200kg  FA: 0.75m²", 0), 0u);

    rt::set(shell::tagged("add_par_to_comment"), {Value("Value"), Value(0.0)});
    rt::set(shell::tagged("add_wav_to_comment"), {Value("Value"), Value(1.0)});
    plot(x, columns(hump(x, 40)), {0, 0, 1}, "B", 1, 4);
    EXPECT_EQ(str(comment_of_newest(4)), "B a.wav");
    type("wav_file", "b.wav");
    plot(x, columns(hump(x, 40)), {0, 0, 1}, "", 1, 4);
    EXPECT_EQ(str(comment_of_newest(4)), " b.wav");
}

TEST_F(DiagramTest, DotsMarkEveryRoundedThirtySixthPointOfTheHalfScaleCurve) {
    struct Case {
        std::size_t points, dots;
    };
    // round(p/36): 100 -> 3 (34 dots), 18 -> 1 (half away from zero), 17 -> 0 (no dot line).
    for (const Case c : {Case{100, 34}, Case{18, 18}, Case{17, 0}}) {
        SCOPED_TRACE(c.points);
        const auto x = ramp(1000, 5000, c.points);
        const auto torque = hump(x, 80);
        type("wav_file", "/r" + std::to_string(c.points) + ".wav");
        plot(x, columns(hump(x, 40), torque));
        const auto newest = rt::findobj({Value(axes()), Value("Type"), Value("line")}).real();
        const rt::Handle half = c.dots ? newest[1] : newest[0];
        EXPECT_EQ(rt::get(Value(half), "Marker").text(), "none");
        EXPECT_EQ(rt::get(Value(half), "YData").at(5), torque[5] / 2);
        if (c.dots == 0) {
            EXPECT_EQ(rt::get(Value(newest[1]), "Tag").text16().rfind(u"Diag", 0), 0u);
            continue;
        }
        const rt::Handle dots = newest[0];
        EXPECT_EQ(rt::get(Value(dots), "Tag").text16(), rt::get(Value(half), "Tag").text16());
        EXPECT_EQ(rt::get(Value(dots), "Marker").text(), ".");
        EXPECT_EQ(rt::get(Value(dots), "LineStyle").text(), "none");
        EXPECT_EQ(rt::get(Value(dots), "MarkerSize").scalar(), 12);
        const auto dx = rt::get(Value(dots), "XData").real();
        ASSERT_EQ(dx.size(), c.dots);
        const std::size_t step = c.points / 36 + (c.points % 36 >= 18 ? 1 : 0);
        EXPECT_EQ(dx[0], x[0]);
        EXPECT_EQ(dx[1], x[step]);
        EXPECT_EQ(rt::get(Value(dots), "YData").at(1), torque[step] / 2);
    }
}

TEST_F(DiagramTest, FromTheTenthRunAllBlocksAndTheirFontsShrinkTowardsTheTop) {
    EXPECT_EQ(diagram::shrink_factor(9), 1.0);
    EXPECT_EQ(diagram::shrink_factor(10), 0.9);
    const rt::Rect s = diagram::shrunk({0.001, -0.03, 0.31, 0.09}, 0.9);
    EXPECT_NEAR(s[1], 0.06, 1e-12);
    EXPECT_NEAR(s[3], 0.081, 1e-12);

    const auto x = ramp(2000, 9000, 40);
    const double font = 0.014 * 1079;
    auto frames = [&] { return shell::tagged(figname() + u"CommentFrame").real(); };
    for (int run = 1; run <= 11; ++run) {
        type("wav_file", "/run" + std::to_string(run) + ".wav");
        plot(x, columns(hump(x, 40 + run)));
        const auto f = frames();
        ASSERT_EQ(f.size(), static_cast<std::size_t>(run));
        const rt::Handle first = f.back();
        if (run == 9) {
            EXPECT_NEAR(pos(f.front())[1], 0.07, 1e-12);
            EXPECT_NEAR(rt::get(Value(first), "FontSize").scalar(), font, 1e-9);
        }
        if (run == 10) {
            EXPECT_NEAR(pos(first)[1], 0.87, 1e-12);
            EXPECT_NEAR(pos(first)[3], 0.09 * 0.9, 1e-12);
            EXPECT_NEAR(pos(f.front())[1], 0.87 - 0.9 * 0.9, 1e-12);
            for (double h : controls_of(window()))
                if (pos(h)[0] < 0.35) {
                    EXPECT_NEAR(rt::get(Value(h), "FontSize").scalar(), font * 0.9, 1e-9);
                }
        }
        if (run == 11) {
            // The new block is made at the compressed height, then all shrink by 10/11.
            EXPECT_NEAR(pos(first)[3], 0.09 * 0.9 * 10 / 11, 1e-12);
            EXPECT_NEAR(pos(f.front())[3], 0.09 * 0.9 * 10 / 11, 1e-12);
            EXPECT_NEAR(pos(f.front())[1], 0.87 - 0.9 * 10 / 11, 1e-12);
            EXPECT_NEAR(rt::get(Value(f.front()), "FontSize").scalar(), font * 0.9 * 10 / 11, 1e-9);
            // The bottom buttons keep their place and size.
            for (double h : controls_of(window()))
                if (pos(h)[0] >= 0.35) {
                    EXPECT_NEAR(pos(h)[3], 0.03, 1e-12);
                }
        }
    }
}

TEST_F(DiagramTest, AnApostropheInThePathOrCommentLeavesBothCallbacksWorking) {
    const auto x = ramp(2000, 9000, 60);
    type("wav_file", "/home/mike/Mike's runs/a.wav");
    plot(x, columns(hump(x, 40), hump(x, 60)), {0, 0, 1}, "Mike's best");
    const auto box = rt::findobj({Value(window()), Value("Style"), Value("checkbox")});
    ASSERT_EQ(box.numel(), 1u);
    const std::u16string tag = rt::get(box, "Tag").text16();
    EXPECT_NE(tag.find(u"Mike's runs/a.wav"), std::u16string::npos);  // Tags keep the text

    rt::set(box, {Value("Value"), Value(0.0)});
    click(box.scalar());
    EXPECT_TRUE(
        rt::findobj({Value(axes()), Value("Type"), Value("line"), Value("Visible"), Value("on")})
            .isEmpty());

    const auto colour = rt::findobj({Value("Tag"), Value(u"PushColor" + tag.substr(8))});
    ASSERT_EQ(colour.numel(), 1u);
    dialogs_.answerColor(rt::Rgb{1, 0.5, 0});
    click(colour.scalar());
    EXPECT_EQ(dialogs_.shown().back().initial, (rt::Rgb{0, 0, 1}));
    for (double h : rt::findobj({Value(axes()), Value("Type"), Value("line")}).real())
        EXPECT_EQ(rt::get(Value(h), "Color").real(), (std::vector<double>{1, 0.5, 0}));
    EXPECT_EQ(rt::get(colour, "BackgroundColor").real(), (std::vector<double>{1, 0.5, 0}));

    // Cancelling the chooser changes nothing.
    dialogs_.answerColor(std::nullopt);
    click(colour.scalar());
    EXPECT_EQ(rt::get(colour, "BackgroundColor").real(), (std::vector<double>{1, 0.5, 0}));
}

TEST_F(DiagramTest, CallbackTextsOfARunAreComposedAsTheButtonsRunThem) {
    const auto x = ramp(2000, 9000, 30);
    type("wav_file", "/a.wav");
    plot(x, columns(hump(x, 40)), {0, 0, 1}, "c", 1, 3);
    const std::u16string name = figname(1, 3);
    const rt::Handle box =
        rt::findobj({Value(window(1, 3)), Value("Style"), Value("checkbox")}).scalar();
    const std::u16string run = rt::get(Value(box), "Tag").text16().substr(8);
    const std::u16string var_y = u"Leistung [PS]             ";
    EXPECT_EQ(rt::get(Value(box), "Callback").text16(),
              u"toggle_vis('Diag" + run + u"');ax_lims(findobj('Tag','DiagAxes" + name + u"'),1,'" +
                  name + u"','" + var_y + u"');");
    const Value colour = shell::tagged(u"PushColor" + run);
    EXPECT_EQ(rt::get(colour, "Callback").text16(), u"ch_color('" + run + u"');");
}

TEST_F(DiagramTest, RunsAreRefusedWhenTheirShapeOrQuantityIsWrong) {
    const auto x = ramp(2000, 9000, 30);
    EXPECT_NE(testsupport::errorOf([&] { plot(x, columns(ramp(0, 1, 29))); }), "");
    EXPECT_NE(testsupport::errorOf([&] {
                  plot(x, columns(hump(x, 3)), {0, 0, 1}, "c", 5, 1);
              }).find("popup_xaxis"),
              std::string::npos);
    EXPECT_EQ(window(), 0);
}

#include "diagram/meanvis.h"

#include "diagram_fixture.h"
#include "runtime/numeric/array_ops.h"

using namespace diagram_test;

namespace {

std::vector<double> real_of(rt::Handle h, const char* name) {
    return rt::get(Value(h), name).real();
}

std::vector<double> step_range(double a, double step, double b) {
    const Eigen::RowVectorXd r = rt::colon(a, step, b);
    return {r.data(), r.data() + r.size()};
}

}  // namespace

class MeanTest : public DiagramTest {
protected:
    // Presses the window's mean button through its callback text.
    void press_mean(double vx = 1, double vy = 1) {
        const auto b = rt::findobj({Value(window(vx, vy)), Value("Style"), Value("pushbutton"),
                                    Value("String"), Value(shell::text_table().meanvis)});
        ASSERT_EQ(b.numel(), 1u);
        click(b.scalar());
    }
    std::size_t runs(double vx = 1, double vy = 1) const {
        return shell::tagged(figname(vx, vy) + u"CommentFrame").numel();
    }
    // The newest run's main curve.
    rt::Handle newest_main(double vx = 1, double vy = 1) const {
        for (double h : rt::findobj({Value(axes(vx, vy)), Value("Type"), Value("line")}).real())
            if (rt::get(Value(h), "Tag").text16().rfind(u"Diag", 0) == 0) return h;
        return 0;
    }
};

TEST_F(MeanTest, TwoRunsAreAveragedOnTheirCommonGridWithTheirMeanColour) {
    const auto x1 = step_range(1000, 10, 6000), x2 = step_range(1500, 20, 7000);
    std::vector<double> y1, y2;
    for (double x : x1) y1.push_back(x / 100);
    for (double x : x2) y2.push_back(x / 50 + 1);
    type("wav_file", "/runs/Mike's a.wav");
    plot(x1, columns(y1), {1, 0, 0}, "a", 1, 3, 1.0405);
    type("wav_file", "/runs/Mike's b.wav");
    plot(x2, columns(y2), {0, 0, 1}, "b", 1, 3, 1.0405);
    press_mean(1, 3);

    ASSERT_EQ(runs(1, 3), 3u);
    const rt::Handle mean = newest_main(1, 3);
    const auto xi = real_of(mean, "XData"), my = real_of(mean, "YData");
    ASSERT_FALSE(xi.empty());
    EXPECT_EQ(xi.front(), 1500);
    EXPECT_LE(xi.back(), 6000);
    EXPECT_NEAR(xi[1] - xi[0], 10, 1e-9);
    EXPECT_EQ(xi.size(), 451u);
    for (std::size_t i = 0; i < xi.size(); i += 50)
        EXPECT_NEAR(my[i], (xi[i] / 100 + xi[i] / 50 + 1) / 2, 1e-9) << xi[i];
    EXPECT_EQ(real_of(mean, "Color"), (std::vector<double>{0.5, 0, 0.5}));

    // The mean's comment is the mean word; its identity holds no apostrophe, so its own
    // checkbox works.
    const std::u16string tag = rt::get(Value(mean), "Tag").text16();
    EXPECT_EQ(tag.find(u'\''), std::u16string::npos);
    EXPECT_EQ(tag.rfind(u"Diag" + figname(1, 3), 0), 0u);
    EXPECT_EQ(tag.substr(tag.size() - 6), u"Mittel");
    const auto box = shell::tagged(u"Checkbox" + tag.substr(4));
    ASSERT_EQ(box.numel(), 1u);
    click(box.scalar());
    EXPECT_EQ(rt::get(Value(mean), "Visible").text(), "off");
    const auto edits = rt::findobj({Value(window(1, 3)), Value("Style"), Value("edit")}).real();
    EXPECT_EQ(rt::get(Value(edits.front()), "String").text(), "Mittel");
    // The factor the button carries reaches the mean's block.
    const auto texts = rt::findobj({Value(window(1, 3)), Value("Style"), Value("text")}).real();
    EXPECT_EQ(rt::get(Value(texts[1]), "String").text(), "k: 1.0405");
}

TEST_F(MeanTest, PowerWithTorqueRunsAverageTheTorqueAtFullValue) {
    const auto x = ramp(2000, 9000, 200);
    std::vector<std::vector<double>> torque;
    for (int r = 0; r < 3; ++r) {
        torque.push_back(hump(x, 50 + 10 * r));
        type("wav_file", "/r" + std::to_string(r) + ".wav");
        plot(x, columns(hump(x, 40 + r), torque.back()), {0, 0, 1});
    }
    press_mean();
    ASSERT_EQ(runs(), 4u);
    const auto lines = rt::findobj({Value(axes()), Value("Type"), Value("line")}).real();
    // The mean is drawn like any run: dots, half-scale torque, main curve.
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(rt::get(Value(lines[0]), "Marker").text(), ".");
    const auto xi = real_of(lines[1], "XData"), half = real_of(lines[1], "YData");
    // The dots of 200 points end at the 199th: the grid ends there too.
    ASSERT_EQ(xi.size(), x.size() - 1);
    EXPECT_NEAR(xi.back(), x[198], 1e-9);
    for (std::size_t i = 0; i < xi.size(); i += 40)
        EXPECT_NEAR(2 * half[i], (torque[0][i] + torque[1][i] + torque[2][i]) / 3, 1e-9);
}

TEST_F(MeanTest, WithoutThreeLinesPerTickedRunEachLineCountsAsARun) {
    const auto x = ramp(2000, 9000, 100), s = ramp(2000, 9000, 10);
    type("wav_file", "/long.wav");
    plot(x, columns(hump(x, 40), hump(x, 60)));
    type("wav_file", "/short.wav");  // 10 points: no dot line
    plot(s, columns(hump(s, 30), hump(s, 50)));
    press_mean();
    ASSERT_EQ(runs(), 3u);
    // The two newest lines (the short run's half-scale and main curve) made a one-column mean.
    const rt::Handle mean = newest_main();
    const auto half = hump(s, 50), main = hump(s, 30);
    const auto my = real_of(mean, "YData");
    EXPECT_NEAR(my.front(), (half.front() / 2 + main.front()) / 2, 1e-9);
    EXPECT_TRUE(shell::tagged(u"2" + rt::get(Value(mean), "Tag").text16()).isEmpty());
}

TEST_F(MeanTest, TheSameMeanAgainOnlyShowsTheFirstAndTooFewTickedRunsDoNothing) {
    const auto x = ramp(2000, 9000, 60);
    type("wav_file", "/a.wav");
    plot(x, columns(hump(x, 40)), {0, 0, 1}, "a", 1, 3);
    press_mean(1, 3);
    EXPECT_EQ(runs(1, 3), 1u);  // one ticked run: nothing

    type("wav_file", "/b.wav");
    plot(x, columns(hump(x, 50)), {0, 0, 1}, "b", 1, 3);
    press_mean(1, 3);
    ASSERT_EQ(runs(1, 3), 3u);
    const rt::Handle mean = newest_main(1, 3);
    const auto box = shell::tagged(u"Checkbox" + rt::get(Value(mean), "Tag").text16().substr(4));
    rt::set(box, {Value("Value"), Value(0.0)});
    click(box.scalar());
    press_mean(1, 3);
    EXPECT_EQ(runs(1, 3), 3u);
    EXPECT_EQ(rt::get(Value(mean), "Visible").text(), "on");
    EXPECT_EQ(rt::get(box, "Value").scalar(), 1);
}

TEST_F(MeanTest, RunsWithoutACommonRangeAreRefusedWithAMessage) {
    type("wav_file", "/a.wav");
    plot(ramp(1000, 2000, 50), columns(ramp(1, 2, 50)), {0, 0, 1}, "a", 1, 3);
    type("wav_file", "/b.wav");
    plot(ramp(3000, 4000, 50), columns(ramp(1, 2, 50)), {0, 0, 1}, "b", 1, 3);
    dialogs_.expectError();
    press_mean(1, 3);
    EXPECT_EQ(runs(1, 3), 2u);
    ASSERT_FALSE(dialogs_.shown().empty());
    EXPECT_EQ(dialogs_.shown().back().text, rt::utf8(shell::text_table().mean_no_common));
}

#include "diagram/ax_lims.h"

#include <limits>

#include "diagram_fixture.h"
#include "runtime/dispatch/error.h"

using namespace diagram_test;

namespace {

std::vector<double> real_of(rt::Handle h, const char* name) {
    return rt::get(Value(h), name).real();
}

// A bare diagram axes with lines of the given Tags and data.
struct Lines {
    rt::Handle fig, ad;
};
Lines bare_axes(const std::u16string& name) {
    Lines l;
    l.fig = rt::figure({Value("Name"), Value(name)});
    l.ad = rt::axes({Value("Tag"), Value(u"DiagAxes" + name)});
    rt::hold("on");
    return l;
}
rt::Handle line(rt::Handle ad, const std::vector<double>& x, const std::vector<double>& y,
                const std::u16string& tag, const char* spec = "-") {
    return rt::plot({rt::rowVector(x), rt::rowVector(y), Value(spec), Value("Parent"), Value(ad),
                     Value("Tag"), Value(tag)})
        .front();
}

std::vector<rt::Handle> texts_tagged(const std::u16string& tag) {
    return rt::findobj({Value("Tag"), Value(tag)}).real();
}

}  // namespace

TEST_F(DiagramTest, LimitsReachDownToZeroAndAddFivePercentOnlyForSeveralCurves) {
    Lines w = bare_axes(u"W");
    const rt::Handle one = line(w.ad, ramp(10, 90, 9), ramp(3.2, 47.6, 9), u"DiagW1");
    diagram::AxLims r = diagram::ax_lims(w.ad, 1, u"W", u"Leistung [PS]");
    EXPECT_EQ(real_of(w.ad, "XLim"), (std::vector<double>{10, 90}));
    EXPECT_EQ(real_of(w.ad, "YLim"), (std::vector<double>{0, 48}));
    for (const char* on : {"YMinorTick", "YGrid", "XGrid", "Box"})
        EXPECT_EQ(rt::get(Value(w.ad), on).text(), "on") << on;
    for (const char* off : {"XMinorTick", "YMinorGrid"})
        EXPECT_EQ(rt::get(Value(w.ad), off).text(), "off") << off;
    EXPECT_EQ(rt::get(rt::get(Value(w.ad), "YLabel"), "String").text(), "Leistung [PS]");
    // One curve comes back as plain arrays.
    EXPECT_EQ(r.diags.scalar(), one);
    EXPECT_TRUE(r.yy.equals(rt::get(Value(one), "YData")));

    line(w.ad, {20, 50}, {-3.5, 100}, u"DiagW2");
    r = diagram::ax_lims(w.ad, 1, u"W", u"Leistung [PS]");
    EXPECT_EQ(real_of(w.ad, "YLim"), (std::vector<double>{-4, 105}));
    EXPECT_EQ(real_of(w.ad, "XLim"), (std::vector<double>{10, 90}));
    EXPECT_TRUE(r.xx.isCell());
    EXPECT_EQ(r.xx.numel(), 2u);

    // All hidden: limits and label stay, the outputs are empty, the watermark is back.
    rt::set(rt::findobj({Value(w.ad), Value("Type"), Value("line")}),
            {Value("Visible"), Value("off")});
    rt::deleteObjects(rt::findobj({Value("Tag"), Value("NotForSale")}));
    r = diagram::ax_lims(w.ad, 1, u"W", u"other");
    EXPECT_EQ(real_of(w.ad, "YLim"), (std::vector<double>{-4, 105}));
    EXPECT_EQ(rt::get(rt::get(Value(w.ad), "YLabel"), "String").text(), "Leistung [PS]");
    EXPECT_TRUE(r.diags.isEmpty());
    EXPECT_TRUE(r.xx.isEmpty());
    EXPECT_EQ(texts_tagged(u"NotForSale").size(), 1u);

    // Infinite values take no part in the limits, so a run holding them does not spoil the
    // window for the runs beside it.
    const double inf = std::numeric_limits<double>::infinity();
    Lines q = bare_axes(u"Q");
    line(q.ad, ramp(10, 90, 9), ramp(3.2, 47.6, 9), u"DiagQ1");
    line(q.ad, {20, 40, 60, inf}, {5, inf, -inf, 8}, u"DiagQ2");
    diagram::ax_lims(q.ad, 1, u"Q", u"y");
    EXPECT_EQ(real_of(q.ad, "XLim"), (std::vector<double>{10, 90}));
    EXPECT_EQ(real_of(q.ad, "YLim"), (std::vector<double>{0, 50}));
    EXPECT_EQ(texts_tagged(u"NotForSale").size(), 1u);

    // A single whole-numbered point gives empty limits: refused with an error.
    Lines p = bare_axes(u"P");
    line(p.ad, {3}, {0}, u"DiagP1");
    EXPECT_THROW(diagram::ax_lims(p.ad, 1, u"P", u"y"), rt::Error);
}

TEST_F(DiagramTest, TheRightHandScaleShowsTheHalfScaleCurvesAtTheirRealValues) {
    Lines w = bare_axes(u"PT");
    const std::vector<double> x = ramp(1000, 9000, 50);
    line(w.ad, x, hump(x, 76), u"DiagPT1");  // 1.05 x 76 -> 80
    line(w.ad, x, hump(x, 60), u"2DiagPT1");
    line(w.ad, {1000, 5000, 9000}, {30, 60, 40}, u"2DiagPT1", ".");
    rt::set(Value(w.ad), {Value("YTick"), Value::row({0, 20, 40, 60, 80})});
    table_.call("ax_lims",
                {Value(w.ad), Value(2.0), Value(u"PT"), Value(u"Leistung[PS]/Drehm[Nm] ")}, 0);
    EXPECT_EQ(real_of(w.ad, "YLim"), (std::vector<double>{0, 80}));

    std::vector<std::string> labels;
    rt::Handle side = 0;
    for (rt::Handle t : texts_tagged(u"YTicks2PT")) {
        if (rt::get(Value(t), "Rotation").scalar() == 270) {
            side = t;
            continue;
        }
        labels.push_back(rt::get(Value(t), "String").text());
        EXPECT_EQ(rt::get(Value(t), "FontWeight").text(), "bold");
        EXPECT_EQ(rt::get(Value(t), "HorizontalAlignment").text(), "left");
        EXPECT_EQ(real_of(t, "Position")[0], 9000);
    }
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(labels, (std::vector<std::string>{"-0", "-120", "-40", "-80"}));
    ASSERT_NE(side, 0);
    EXPECT_EQ(rt::get(Value(side), "String").text(), "Drehm[Nm] ");
    EXPECT_EQ(real_of(side, "Position"), (std::vector<double>{1.025 * 9000, 30, 0}));
    EXPECT_EQ(rt::get(Value(side), "HorizontalAlignment").text(), "center");
    EXPECT_EQ(rt::get(rt::get(Value(w.ad), "YLabel"), "String").text(), "Leistung[PS]");

    // Drawn again, not added to.
    diagram::ax_lims(w.ad, 2, u"PT", u"Leistung[PS]/Drehm[Nm] ");
    EXPECT_EQ(texts_tagged(u"YTicks2PT").size(), 5u);
}

TEST_F(DiagramTest, OnlyTheWindowUpdatedLastCarriesTheWatermark) {
    const auto x = ramp(2000, 9000, 40);
    type("wav_file", "/a.wav");
    plot(x, columns(hump(x, 40)), {0, 0, 1}, "a", 1, 3);
    plot(x, columns(hump(x, 40)), {0, 0, 1}, "a", 1, 4);
    auto watermark = [] {
        const auto w = texts_tagged(u"NotForSale");
        EXPECT_EQ(w.size(), 1u);
        return w.empty() ? 0.0 : rt::graphics().parent(w[0]);
    };
    EXPECT_EQ(watermark(), axes(1, 4));
    const rt::Handle t = texts_tagged(u"NotForSale")[0];
    EXPECT_EQ(rt::get(Value(t), "String").text(), "NOT FOR SALE");
    EXPECT_EQ(rt::get(Value(t), "FontSize").scalar(), 6);
    const auto xt = real_of(axes(1, 4), "XTick"), yt = real_of(axes(1, 4), "YTick");
    EXPECT_NEAR(real_of(t, "Position")[0], xt[0] + 0.05 * (xt[1] - xt[0]), 1e-9);
    EXPECT_NEAR(real_of(t, "Position")[1], yt[0] + 0.5 * (yt[1] - yt[0]), 1e-9);

    // Unticking a run of the first window moves it back there (the click made it current).
    rt::graphics().setCurrentFigure(window(1, 3));
    const rt::Handle box =
        rt::findobj({Value(window(1, 3)), Value("Style"), Value("checkbox")}).scalar();
    click(box);
    EXPECT_EQ(watermark(), axes(1, 3));
}

TEST_F(DiagramTest, HidingARunLetsTheLimitsFollowTheCurvesStillShown) {
    const auto x = ramp(2000, 9000, 80);
    type("wav_file", "/small.wav");
    plot(x, columns(hump(x, 40), hump(x, 50)));
    type("wav_file", "/big.wav");
    plot(x, columns(hump(x, 90), hump(x, 140)));
    EXPECT_EQ(real_of(axes(), "YLim")[1], std::ceil(1.05 * 90));

    const auto boxes = rt::findobj({Value(window()), Value("Style"), Value("checkbox")}).real();
    click(boxes.front());  // the newest: the big run
    for (double h : rt::findobj({Value(axes()), Value("Type"), Value("line")}).real()) {
        const bool big =
            rt::get(Value(h), "Tag").text16().find(u"/big.wav") != std::u16string::npos;
        EXPECT_EQ(rt::get(Value(h), "Visible").text(), big ? "off" : "on");
    }
    EXPECT_EQ(real_of(axes(), "YLim")[1], std::ceil(1.05 * 40));
    click(boxes.front());
    EXPECT_EQ(real_of(axes(), "YLim")[1], std::ceil(1.05 * 90));
    EXPECT_EQ(
        rt::findobj({Value(axes()), Value("Type"), Value("line"), Value("Visible"), Value("on")})
            .numel(),
        6u);
}

#include "runtime/graphics/subplot.h"

#include "fixture.h"

namespace {

using gt::GraphicsTest;
using rt::Value;
using testsupport::errorOf;

void expectRect(const Value& v, const std::vector<double>& want) {
    const auto got = v.real();
    ASSERT_EQ(got.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-6) << "element " << i;
}

class Subplot : public GraphicsTest {};

// Positions worked out by hand from the default axes position [0.13 0.11 0.775 0.815] and the
// grid's margins (0.18 left and below, 0.09 right and above; 90 % of them beyond two).
TEST_F(Subplot, CellsOfTheGrid) {
    const rt::Handle upper = rt::subplot({Value(211.0)});
    expectRect(g().get(upper, "Position"), {0.13, 0.581098, 0.775, 0.343902});
    const rt::Handle third = rt::subplot({Value(413.0)});
    expectRect(g().get(third, "Position"), {0.13, 0.326928, 0.775, 0.164215});
    const rt::Handle bottom = rt::subplot({Value(414.0)});
    expectRect(g().get(bottom, "Position"), {0.13, 0.11, 0.775, 0.164215});
    EXPECT_EQ(g().get(bottom, "Units").text(), "normalized");
    // The three do not overlap: all stay, the last one current.
    EXPECT_EQ(g().children(rt::gcf()).size(), 3u);
    EXPECT_EQ(rt::gca(), bottom);
    // Three numbers are the same as one; cells run along rows from the top left.
    const rt::Handle five = rt::subplot({Value(2.0), Value(3.0), Value(5.0)});
    expectRect(g().get(five, "Position"), {0.411103, 0.11, 0.212795, 0.343902});
}

TEST_F(Subplot, ReusesItsCellAndDeletesWhatOverlaps) {
    const rt::Handle whole = rt::axes();  // the default position covers every cell
    const rt::Handle upper = rt::subplot({Value(211.0)});
    EXPECT_FALSE(g().isValid(whole));
    const rt::Handle lower = rt::subplot({Value(212.0)});
    EXPECT_TRUE(g().isValid(upper));
    // The same cell again: the same axes, made current, nothing deleted.
    EXPECT_EQ(rt::subplot({Value(211.0)}), upper);
    EXPECT_EQ(rt::gca(), upper);
    EXPECT_TRUE(g().isValid(lower));
    // A cell over both replaces both; an axes beside the grid stays.
    const rt::Handle aside = rt::axes({Value("Position"), Value::row({0.95, 0.0, 0.05, 0.05})});
    const rt::Handle one = rt::subplot({Value(111.0)});
    EXPECT_FALSE(g().isValid(upper));
    EXPECT_FALSE(g().isValid(lower));
    EXPECT_TRUE(g().isValid(aside));
    EXPECT_TRUE(g().isValid(one));
}

TEST_F(Subplot, FigureSettingsAndUnitsAreKept) {
    const rt::Handle fig = rt::figure(
        {Value("NextPlot"), Value("replace"), Value("DefaultAxesUnits"), Value("pixels")});
    testsupport::WarningCapture warnings;
    const rt::Handle ax = rt::subplot({Value(211.0)});
    ASSERT_EQ(warnings.lines.size(), 1u);
    EXPECT_EQ(warnings.lines[0], "Warning: DefaultAxesUnits not normalized.");
    EXPECT_EQ(g().get(fig, "NextPlot").text(), "replace");
    // Made in normalized units at the cell, then turned to the figure's default units.
    EXPECT_EQ(g().get(ax, "Units").text(), "pixels");
    const rt::Rect f = g().pixelPosition(fig), a = g().pixelPosition(ax);
    EXPECT_NEAR(a[1] / f[3], 0.581098, 1e-6);
    EXPECT_NEAR(a[2] / f[2], 0.775, 1e-6);
    // No axes is left behind by the question for the default position.
    EXPECT_EQ(g().children(fig).size(), 1u);
}

TEST_F(Subplot, RefusesCellsOutsideTheGrid) {
    EXPECT_EQ(errorOf([] { rt::subplot({Value(215.0)}); }), "Index exceeds number of subplots.");
    EXPECT_EQ(errorOf([] {
                  rt::subplot({Value(2.0), Value(2.0), Value(5.0)});
              }),
              "Index exceeds number of subplots.");
    EXPECT_EQ(errorOf([] { rt::subplot({Value(210.0)}); }), "Illegal plot number.");
    EXPECT_TRUE(g().figures().empty() || g().children(rt::gcf()).empty());
    rt::FunctionTable t;
    rt::register_subplot(t);
    const rt::Values out = t.call("subplot", {Value(414.0)}, 1);
    EXPECT_EQ(out.at(0).scalar(), rt::gca());
}

}  // namespace

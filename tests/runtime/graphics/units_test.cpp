// Positions in every unit, with the origin at the parent's bottom-left corner, and the
// conversions that a change of Units makes.
#include "runtime/graphics/units.h"

#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

namespace {

void expectNear(const std::vector<double>& got, const std::vector<double>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9) << what << " " << i;
}

}  // namespace

TEST_F(GraphicsTest, FigurePositionFollowsUnits) {
    // 1920 x 1080 pixels at 96 pixels per inch; pixel offsets count from 1.
    const Handle f = figure(
        {Value("Units"), Value("pixels"), Value("Position"), Value::row({97, 49, 480, 288})});
    struct Case {
        const char* units;
        std::vector<double> position;
    } cases[] = {{"inches", {1, 0.5, 5, 3}},
                 {"centimeters", {2.54, 1.27, 12.7, 7.62}},
                 {"points", {72, 36, 360, 216}},
                 {"normalized", {0.05, 48.0 / 1080, 0.25, 288.0 / 1080}},
                 {"pixels", {97, 49, 480, 288}},
                 {"normalized", {0.05, 48.0 / 1080, 0.25, 288.0 / 1080}},
                 {"centimeters", {2.54, 1.27, 12.7, 7.62}},
                 {"pixels", {97, 49, 480, 288}}};
    for (const auto& c : cases) {
        set(Value(f), {Value("Units"), Value(c.units)});
        expectNear(get(Value(f), "Position").real(), c.position, c.units);
    }
    // A position given in centimetres lands where the pixels say.
    set(Value(f), {Value("Units"), Value("centimeters"), Value("Position"),
                   Value::row({2.54, 2.54, 25.4, 12.7})});
    const Rect px = g().pixelPosition(f);
    expectNear({px[0], px[1], px[2], px[3]}, {96, 96, 960, 480}, "pixels");
}

TEST_F(GraphicsTest, ScreenSizeInRootUnits) {
    expectNear(get(Value(0.0), "ScreenSize").real(), {1, 1, 1920, 1080}, "pixels");
    EXPECT_EQ(get(Value(0.0), "ScreenPixelsPerInch").scalar(), 96.0);
    set(Value(0.0), {Value("Units"), Value("points")});
    expectNear(get(Value(0.0), "ScreenSize").real(), {0, 0, 1440, 810}, "points");
    set(Value(0.0), {Value("Units"), Value("pixels")});
    g().setScreen(ScreenInfo{1024, 768, 120});
    expectNear(get(Value(0.0), "ScreenSize").real(), {1, 1, 1024, 768}, "other screen");
}

TEST_F(GraphicsTest, ChildrenConvertAgainstTheirFigure) {
    const Handle f = figure({Value("Position"), Value::row({1, 1, 400, 200})});
    const Handle a = axes({Value("Position"), Value::row({0.25, 0.5, 0.5, 0.25})});
    set(Value(a), {Value("Units"), Value("Pixel")});
    expectNear(get(Value(a), "Position").real(), {101, 101, 200, 50}, "axes in pixels");
    set(Value(a), {Value("Units"), Value("Points")});
    expectNear(get(Value(a), "Position").real(), {75, 75, 150, 37.5}, "axes in points");
    set(Value(a), {Value("Units"), Value("normal")});
    expectNear(get(Value(a), "Position").real(), {0.25, 0.5, 0.5, 0.25}, "axes back");
    // Normalized children follow the window; absolute ones keep their size.
    const Handle b = uicontrol(
        {Value("Units"), Value("pixels"), Value("Position"), Value::row({11, 21, 50, 20})});
    g().setPixelPosition(f, {0, 0, 800, 400});
    const Rect ap = g().pixelPosition(a), bp = g().pixelPosition(b);
    expectNear({ap[0], ap[1], ap[2], ap[3]}, {200, 200, 400, 100}, "axes after resize");
    expectNear({bp[0], bp[1], bp[2], bp[3]}, {10, 20, 50, 20}, "button after resize");
}

TEST_F(GraphicsTest, FontAndPaperUnitsConvert) {
    const Handle f = figure();
    const Handle b = uicontrol({Value("FontSize"), Value(12.0)});
    set(Value(b), {Value("FontUnits"), Value("pixels")});
    EXPECT_NEAR(get(Value(b), "FontSize").scalar(), 16.0, 1e-12);
    set(Value(f), {Value("PaperUnits"), Value("inches"), Value("PaperPosition"),
                   Value::row({0.25, 0.25, 11.1, 7.7})});
    set(Value(f), {Value("PaperUnits"), Value("centimeters")});
    expectNear(get(Value(f), "PaperPosition").real(), {0.635, 0.635, 28.194, 19.558}, "paper");
    set(Value(f), {Value("PaperType"), Value("A4"), Value("PaperOrientation"), Value("landscape")});
    expectNear(get(Value(f), "PaperSize").real(), {29.7, 21.0}, "A4 landscape");
}

TEST_F(GraphicsTest, TextPositionAndExtentInUnits) {
    figure({Value("Units"), Value("pixels"), Value("Position"), Value::row({1, 1, 400, 400})});
    const Handle a =
        axes({Value("Units"), Value("pixels"), Value("Position"), Value::row({101, 101, 200, 100}),
              Value("XLim"), Value::row({0, 10}), Value("YLim"), Value::row({0, 1})});
    const Handle t = text({Value(5.0), Value(0.5), Value("Hello"), Value("FontSize"), Value(12.0),
                           Value("HorizontalAlignment"), Value("center")});
    set(Value(t), {Value("Units"), Value("pixels")});
    expectNear(get(Value(t), "Position").real(), {101, 51, 0}, "pixels");
    set(Value(t), {Value("Units"), Value("data")});
    expectNear(get(Value(t), "Position").real(), {5, 0.5, 0}, "data");
    set(Value(t), {Value("Units"), Value("points")});
    const auto e = get(Value(t), "Extent").real();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_GT(e[2], 0);
    EXPECT_GT(e[3], 0);
    EXPECT_NEAR(e[0] + e[2] / 2, 75.0, 1e-9);  // centred on x = 100 pixels = 75 points
    (void)a;
}

TEST(Units, PureConversions) {
    const Rect px{96, 48, 192, 96};
    struct Case {
        Unit u;
        Rect r;
    } cases[] = {{Unit::Pixels, {97, 49, 192, 96}},
                 {Unit::Inches, {1, 0.5, 2, 1}},
                 {Unit::Points, {72, 36, 144, 72}},
                 {Unit::Centimeters, {2.54, 1.27, 5.08, 2.54}},
                 {Unit::Normalized, {0.1, 0.1, 0.2, 0.2}}};
    for (const auto& c : cases) {
        const Rect r = rectFromPixels(px, c.u, 960, 480, 96);
        const Rect back = rectToPixels(r, c.u, 960, 480, 96);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(r[i], c.r[i], 1e-12) << unitName(c.u);
            EXPECT_NEAR(back[i], px[i], 1e-9) << unitName(c.u);
        }
    }
    EXPECT_THROW(lengthToPixels(1, Unit::Data, 1, 96), Error);
    EXPECT_NEAR(paperFromInches(paperToInches(21.0, Unit::Centimeters, 1), Unit::Points, 1),
                21.0 / 2.54 * 72, 1e-9);
}

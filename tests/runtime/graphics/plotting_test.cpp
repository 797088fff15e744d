// plot, line, text, patch, fill, image and axis, as the windows use them.
#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

TEST_F(GraphicsTest, PlotLineSpecsAndPairs) {
    figure();
    struct Case {
        const char* spec;
        std::vector<double> color;
        const char* style;
        const char* marker;
    } cases[] = {{"k", {0, 0, 0}, "-", "none"},    {"w", {1, 1, 1}, "-", "none"},
                 {"-", {0, 0, 1}, "-", "none"},    {".", {0, 0, 1}, "none", "."},
                 {"r--", {1, 0, 0}, "--", "none"}, {"ks", {0, 0, 0}, "none", "s"}};
    for (const auto& c : cases) {
        const Handle l = plot({Value::row({1, 2, 3}), Value::row({2, 4, 8}), Value(c.spec)})[0];
        EXPECT_EQ(get(Value(l), "Color").real(), c.color) << c.spec;
        EXPECT_EQ(get(Value(l), "LineStyle").text(), c.style) << c.spec;
        EXPECT_EQ(get(Value(l), "Marker").text(), c.marker) << c.spec;
    }
    const Handle l = plot({Value::row({1, 2}), Value::row({3, 4}), Value("k"), Value("LineWidth"),
                           Value(0.1), Value("Tag"), Value("Diag")})[0];
    EXPECT_EQ(get(Value(l), "LineWidth").scalar(), 0.1);
    EXPECT_EQ(get(Value(l), "Tag").text(), "Diag");
    const Handle m = plot({Value::row({1, 2}), Value::row({3, 4}), Value("Color"), Value("w")})[0];
    EXPECT_EQ(get(Value(m), "Color").real(), (std::vector<double>{1, 1, 1}));
    // Columns of a matrix become lines; y alone is plotted against 1..n.
    const auto two = plot({Value::matrix(3, 2, {1, 2, 3, 4, 5, 6})});
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(get(Value(two[1]), "XData").real(), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(get(Value(two[1]), "YData").real(), (std::vector<double>{4, 5, 6}));
    EXPECT_THROW(plot({Value::row({1, 2}), Value::row({1, 2, 3})}), Error);
    EXPECT_THROW(plot({Value::row({1, 2}), Value::row({1, 2}), Value("q")}), Error);
}

TEST_F(GraphicsTest, PlotIntoAGivenParentHonoursItsHold) {
    const Handle main = figure();
    const Handle cache = axes(
        {Value("Position"), Value::row({-10, -10, 0.1, 0.1}), Value("Tag"), Value("Saved Data")});
    hold("on");
    const Handle editor = figure();
    const Handle ea = axes();
    const Handle v =
        plot({Value::row({0, 1}), Value::row({1, 2}), Value("Parent"), Value(cache)})[0];
    const Handle r =
        plot({Value::row({0, 1}), Value::row({1, 3}), Value("Parent"), Value(cache)})[0];
    EXPECT_EQ(g().parent(v), cache);
    EXPECT_EQ(g().children(cache), (std::vector<double>{r, v}));
    EXPECT_EQ(gcf(), editor);
    EXPECT_TRUE(g().children(ea).empty());
    // Without hold the axes empties but keeps its Tag.
    plot({Value::row({0, 1}), Value::row({1, 3})});
    plot({Value::row({0, 1}), Value::row({1, 3})});
    EXPECT_EQ(g().children(ea).size(), 1u);
    set(Value(ea), {Value("Tag"), Value("EditorAxes")});
    plot({Value::row({0, 1}), Value::row({1, 3})});
    EXPECT_EQ(get(Value(ea), "Tag").text(), "EditorAxes");
    (void)main;
}

TEST_F(GraphicsTest, TextPatchAndFill) {
    figure();
    const Handle t = text({Value(2.0), Value(3.0), Value("NOT FOR SALE"), Value("Tag"),
                           Value("NotForSale"), Value("FontSize"), Value(6.0)});
    EXPECT_EQ(get(Value(t), "Position").real(), (std::vector<double>{2, 3, 0}));
    EXPECT_EQ(get(Value(t), "String").text(), "NOT FOR SALE");
    EXPECT_EQ(get(Value(t), "Units").text(), "data");
    const Handle ax = gca();
    const Handle bar = patch({Value::row({0, 40, 40, 0}), Value::row({0, 0, 1, 1}), Value("r"),
                              Value("EdgeColor"), Value("r"), Value("EraseMode"), Value("none")});
    EXPECT_EQ(get(Value(bar), "XData").real(), (std::vector<double>{0, 40, 40, 0}));
    EXPECT_EQ(get(Value(bar), "EdgeColor").real(), (std::vector<double>{1, 0, 0}));
    EXPECT_EQ(g().children(ax).size(), 2u);  // patch never clears
    hold("on");
    const Handle port = fill({Value::row({0, 1, 1}), Value::row({0, 0, 1}), Value::row({0, 0, 0}),
                              Value("LineStyle"), Value("none")});
    EXPECT_EQ(get(Value(port), "Type").text(), "patch");
    EXPECT_EQ(get(Value(port), "FaceColor").real(), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(get(Value(port), "LineStyle").text(), "none");
    EXPECT_EQ(g().children(ax).size(), 3u);
    const Handle title = get(Value(ax), "Title").scalar();
    EXPECT_EQ(get(Value(title), "Type").text(), "text");
    const auto kids = g().children(ax);
    EXPECT_EQ(std::count(kids.begin(), kids.end(), title), 0);
}

TEST_F(GraphicsTest, ImageHoldOffFlipsAndFitsHoldOnKeeps) {
    figure();
    const Value c = Value::matrix(2, 3, {1, 2, 3, 4, 5, 6});
    const Handle im =
        image({Value::row({10, 20, 30}), Value::row({100, 200}), c, Value("CDataMapping"),
               Value("scaled"), Value("Tag"), Value("SpectrumI")});
    const Handle ax = gca();
    EXPECT_EQ(get(Value(ax), "YDir").text(), "reverse");
    EXPECT_EQ(get(Value(ax), "XLim").real(), (std::vector<double>{5, 35}));
    EXPECT_EQ(get(Value(ax), "YLim").real(), (std::vector<double>{50, 250}));
    EXPECT_EQ(get(Value(im), "XData").real(), (std::vector<double>{10, 20, 30}));
    set(Value(ax), {Value("CLimMode"), Value("auto")});
    EXPECT_EQ(get(Value(ax), "CLim").real(), (std::vector<double>{1, 6}));
    set(Value(im), {Value("CData"), Value::matrix(2, 3, {0, 2, 3, 4, 5, 6})});
    EXPECT_EQ(get(Value(ax), "CLim").real(), (std::vector<double>{0, 6}));  // follows the data
    // The default image of an argument-free call.
    const Handle d = image({Value("CDataMapping"), Value("scaled")});
    EXPECT_FALSE(get(Value(d), "CData").isEmpty());
    EXPECT_FALSE(g().isValid(im));
    // A truecolor picture keeps its bytes.
    const Value rgb = Value::uint8({2, 2, 3}, std::vector<std::uint8_t>(12, 200));
    const Handle p = image({rgb});
    EXPECT_TRUE(get(Value(p), "CData").equals(rgb));
    EXPECT_EQ(get(Value(p), "XData").real(), (std::vector<double>{1, 2}));
}

TEST_F(GraphicsTest, AxisAndColormap) {
    figure();
    plot({Value::row({0, 4}), Value::row({0, 2})});
    axis({Value("equal")});
    const Handle ax = gca();
    EXPECT_EQ(get(Value(ax), "DataAspectRatio").real(), (std::vector<double>{1, 1, 1}));
    EXPECT_EQ(get(Value(ax), "DataAspectRatioMode").text(), "manual");
    axis({Value::row({0, 10, -1, 1})});
    EXPECT_EQ(get(Value(ax), "YLim").real(), (std::vector<double>{-1, 1}));
    axis({Value("ij")});
    EXPECT_EQ(get(Value(ax), "YDir").text(), "reverse");
    EXPECT_THROW(axis({Value("sideways")}), Error);
    colormap(Value());
    const Value map = colormap();
    EXPECT_EQ(map.rows(), 64u);
    EXPECT_EQ(map.cols(), 3u);
    EXPECT_LT(map.at(0), map.at(63));          // red grows
    EXPECT_GT(map.at(128), map.at(128 + 63));  // blue fades
    EXPECT_THROW(colormap(Value::row({1, 2})), Error);
}

TEST_F(GraphicsTest, LabelsSitOutsideTheBoxUntilPlacedByHand) {
    figure();
    const Handle ax = axes({Value("XLim"), Value::row({0, 10}), Value("YLim"), Value::row({0, 1})});
    const Handle title = get(Value(ax), "Title").scalar();
    const Handle xl = get(Value(ax), "XLabel").scalar();
    const Handle yl = get(Value(ax), "YLabel").scalar();
    const auto tp = get(Value(title), "Position").real();
    EXPECT_DOUBLE_EQ(tp[0], 5.0);
    EXPECT_GT(tp[1], 1.0);
    EXPECT_LT(get(Value(xl), "Position").at(1), 0.0);
    EXPECT_LT(get(Value(yl), "Position").at(0), 0.0);
    EXPECT_EQ(get(Value(yl), "Rotation").scalar(), 90.0);
    set(Value(ax), {Value("YLim"), Value::row({0, 100})});
    EXPECT_GT(get(Value(title), "Position").at(1), 100.0);  // follows the axes
    set(Value(title), {Value("Position"), Value::row({1, 2})});
    set(Value(ax), {Value("YLim"), Value::row({0, 1})});
    EXPECT_EQ(get(Value(title), "Position").real(), (std::vector<double>{1, 2, 0}));
}

TEST_F(GraphicsTest, ProgressWindowGeometryInPoints) {
    // The progress window's steps: screen in points, a centred window, an axes in points,
    // and its title's extent read in points.
    set(Value(0.0), {Value("Units"), Value("points")});
    const auto screen = get(Value(0.0), "ScreenSize").real();
    const double ppp = 72.0 / get(Value(0.0), "ScreenPixelsPerInch").scalar();
    const double w = 360 * ppp, h = 75 * ppp;
    const Handle f = figure({Value("Units"), Value("points"), Value("Position"),
                             Value::row({screen[2] / 2 - w / 2, screen[3] / 2 - h / 2, w, h}),
                             Value("IntegerHandle"), Value("off"), Value("Visible"), Value("off")});
    const Rect px = g().pixelPosition(f);
    EXPECT_NEAR(px[0], (1920 - 360) / 2.0, 1e-9);
    EXPECT_NEAR(px[2], 360, 1e-9);
    colormap(Value());
    const Handle ax =
        axes({Value("XLim"), Value::row({0, 100}), Value("Box"), Value("on"), Value("Units"),
              Value("Points"), Value("FontSize"), get(Value(0.0), "FactoryAxesFontSize"),
              Value("Position"), Value::row({0.05 * w, 0.3 * h, 0.9 * w, 0.2 * h}),
              Value("XTickMode"), Value("manual"), Value("XTick"), Value()});
    const Handle t = get(Value(ax), "Title").scalar();
    set(Value(t), {Value("Units"), Value("points"), Value("String"), Value("Please wait...")});
    const auto e = get(Value(t), "Extent").real();
    EXPECT_GT(e[2], 0);
    EXPECT_GT(e[3], 0);
    EXPECT_GT(e[1], 0.2 * h);  // above the axes box
    set(Value(t), {Value("Units"), Value("data")});
    set(Value(0.0), {Value("Units"), Value("pixels")});
    EXPECT_EQ(get(Value(0.0), "ScreenSize").real(), (std::vector<double>{1, 1, 1920, 1080}));
    EXPECT_EQ(findobj({allchild(Value(0.0)), Value("flat"), Value("Type"), Value("figure")}).real(),
              std::vector<double>{f});
}

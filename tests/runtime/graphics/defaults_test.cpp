// Root and figure defaults inherited at creation, factory values, get/set on handle vectors.
#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

TEST_F(GraphicsTest, RootDefaultsAreInheritedAtCreation) {
    set(Value(0.0), {Value("DefaultFigurePaperType"), Value("A4"), Value("DefaultFigureUnits"),
                     Value("centimeters"), Value("DefaultFigurePaperUnits"), Value("centimeters")});
    const Handle f = figure();
    EXPECT_EQ(get(Value(f), "Units").text(), "centimeters");
    EXPECT_EQ(get(Value(f), "PaperType").text(), "a4");
    EXPECT_EQ(get(Value(f), "PaperUnits").text(), "centimeters");
    // The window keeps its place: the factory pixel position reads in centimetres. On the
    // fixture's 1920 x 1080 screen a new figure is 864 x 648 pixels (45 % of the width, 4:3).
    const auto cm = get(Value(f), "Position").real();
    EXPECT_NEAR(cm[2], 864 * 2.54 / 96, 1e-9);
    EXPECT_NEAR(cm[3], 648 * 2.54 / 96, 1e-9);
    set(Value(0.0), {Value("DefaultUIcontrolUnits"), Value("normalized")});
    const Handle b = uicontrol();
    EXPECT_EQ(get(Value(b), "Units").text(), "normalized");
    const auto n = get(Value(b), "Position").real();
    EXPECT_NEAR(n[2], 60.0 / 864, 1e-9);
    const Handle b2 = uicontrol({Value("Position"), Value::row({0.1, 0.2, 0.3, 0.05})});
    EXPECT_EQ(get(Value(b2), "Position").real(), (std::vector<double>{0.1, 0.2, 0.3, 0.05}));
    EXPECT_EQ(get(Value(0.0), "DefaultFigurePaperType").text(), "a4");
}

TEST_F(GraphicsTest, DefaultsAnswerThroughTheHierarchyAndFactoryValuesStay) {
    EXPECT_EQ(get(Value(0.0), "FactoryAxesFontSize").scalar(), 10.0);
    EXPECT_EQ(get(Value(0.0), "DefaultAxesUnits").text(), "normalized");
    const Handle f = figure();
    EXPECT_EQ(get(Value(f), "DefaultAxesPosition").real(),
              (std::vector<double>{0.13, 0.11, 0.775, 0.815}));
    set(Value(0.0), {Value("DefaultAxesPosition"), Value::row({0.1, 0.1, 0.8, 0.8})});
    EXPECT_EQ(get(Value(f), "DefaultAxesPosition").real(),
              (std::vector<double>{0.1, 0.1, 0.8, 0.8}));
    set(Value(f), {Value("DefaultAxesPosition"), Value::row({0.2, 0.2, 0.6, 0.6})});
    EXPECT_EQ(get(Value(f), "DefaultAxesPosition").real(),
              (std::vector<double>{0.2, 0.2, 0.6, 0.6}));
    EXPECT_EQ(get(Value(axes()), "Position").real(), (std::vector<double>{0.2, 0.2, 0.6, 0.6}));
    const Handle f2 = figure();
    EXPECT_EQ(get(Value(axes()), "Position").real(), (std::vector<double>{0.1, 0.1, 0.8, 0.8}));
    EXPECT_EQ(get(Value(0.0), "FactoryAxesPosition").real(),
              (std::vector<double>{0.13, 0.11, 0.775, 0.815}));
    EXPECT_THROW(set(Value(0.0), {Value("DefaultFigureUnits"), Value("furlongs")}), Error);
    EXPECT_THROW(set(Value(0.0), {Value("DefaultFigureFoo"), Value(1.0)}), Error);
    EXPECT_THROW(set(Value(0.0), {Value("FactoryAxesFontSize"), Value(9.0)}), Error);
    (void)f2;
}

TEST_F(GraphicsTest, GetAndSetOnHandleVectors) {
    figure();
    std::vector<double> hs;
    for (const char* tag : {"a", "b", "c"})
        hs.push_back(uicontrol({Value("Tag"), Value(tag), Value("Style"), Value("text")}));
    const Value kids = get(Value(gcf()), "Children");  // newest first
    EXPECT_EQ(kids.real(), (std::vector<double>{hs[2], hs[1], hs[0]}));
    EXPECT_EQ(kids.cols(), 1u);
    const Value tags = get(kids, "Tag");
    ASSERT_TRUE(tags.isCell());
    EXPECT_EQ(tags.rows(), 3u);
    EXPECT_EQ(tags.cols(), 1u);
    EXPECT_EQ(tags.cellAt(0).text(), "c");
    EXPECT_EQ(tags.cellAt(2).text(), "a");
    set(kids, {Value("Visible"), Value("off"), Value("String"), Value("x")});
    for (double h : hs) {
        EXPECT_EQ(get(Value(h), "Visible").text(), "off");
        EXPECT_EQ(get(Value(h), "String").text(), "x");
    }
    EXPECT_EQ(get(Value(hs[0]), "Tag").text(), "a");  // one handle: the value itself
    EXPECT_TRUE(get(Value(), "Tag").isEmpty());
    EXPECT_THROW(set(Value::row({hs[0], 12345.5}), {Value("Visible"), Value("on")}), Error);
}

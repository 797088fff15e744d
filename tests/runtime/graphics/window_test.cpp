// Building a window from property lists.
#include "runtime/graphics/window.h"

#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

TEST_F(GraphicsTest, PropertyListsCarryRowsRectanglesTextsAndEmpties) {
    const Props props{{"XLim", {0, 100}},
                      {"Position", Rect{1, 2, 3, 4}},
                      {"Tag", "t"},
                      {"XTick", {}},
                      {"Value", 1}};
    const Values p = pairsOf(props);
    ASSERT_EQ(p.size(), 10u);
    EXPECT_EQ(p[0].text(), "XLim");
    EXPECT_EQ(p[1].real(), (std::vector<double>{0, 100}));
    EXPECT_EQ(p[1].rows(), 1u);
    EXPECT_EQ(p[3].real(), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(p[5].text(), "t");
    EXPECT_TRUE(p[7].isEmpty() && p[7].isDouble());
    EXPECT_EQ(p[9].scalar(), 1);
}

TEST_F(GraphicsTest, ObjectsAreMadeUnderTheGivenParentNotTheCurrentOne) {
    const Handle f1 = makeFigure({{"Name", "one"}});
    const Handle f2 = makeFigure({{"Name", "two"}});
    EXPECT_EQ(gcf(), f2);
    const Handle ax = makeAxes(f1, {{"Tag", "ax"}});
    EXPECT_EQ(g().parent(ax), f1);
    EXPECT_EQ(get(f1, "CurrentAxes").scalar(), ax);
    const Handle c = makeControl(f1, "edit", {0.1, 0.2, 0.3, 0.4}, {{"Tag", "field"}});
    EXPECT_EQ(g().parent(c), f1);
    EXPECT_EQ(get(c, "Style").text(), "edit");
    EXPECT_EQ(get(c, "Tag").text(), "field");
    const Handle t = makeText(ax, {{"String", "hi"}});
    const Handle l = makeLine(ax, {{"XData", {1, 2}}, {"YData", {3, 4}}});
    EXPECT_EQ(get(ax, "YLim").real(), (std::vector<double>{3, 4}));
    const Handle p = makePatch(ax, {{"XData", {0, 1, 1}}, {"YData", {0, 0, 1}}});
    for (Handle h : {t, l, p}) EXPECT_EQ(g().parent(h), ax);
    EXPECT_EQ(get(t, "String").text(), "hi");
}

TEST_F(GraphicsTest, AControlsPositionIsReadInTheUnitsItsListGives) {
    const Handle f = makeFigure({{"Units", "pixels"}, {"Position", {1, 1, 400, 300}}});
    const Handle c = makeControl(f, "pushbutton", {10, 20, 60, 23}, {{"Units", "points"}});
    EXPECT_EQ(get(c, "Units").text(), "points");
    EXPECT_EQ(get(c, "Position").real(), (std::vector<double>{10, 20, 60, 23}));
}

TEST_F(GraphicsTest, SetPropsWritesEveryHandleInOrderAndFailsWhole) {
    const Handle f = makeFigure();
    const Handle a = makeControl(f, "text", {0, 0, 1, 1});
    const Handle b = makeControl(f, "text", {0, 0, 1, 1});
    setProps(Value::column({a, b}), {{"Units", "pixels"}, {"Position", {5, 6, 7, 8}}});
    for (Handle h : {a, b}) EXPECT_EQ(get(h, "Position").real(), (std::vector<double>{5, 6, 7, 8}));
    setProps(Value(), {{"Tag", "nothing"}});
    EXPECT_THROW(setProps(Value("x"), {{"Tag", "t"}}), Error);
    EXPECT_THROW(setProps(a, {{"NoSuchProperty", 1}}), Error);
    EXPECT_THROW(makeControl(f, "nostyle", {0, 0, 1, 1}), Error);
    EXPECT_EQ(g().children(f).size(), 2u) << "a failed creation leaves nothing behind";
}

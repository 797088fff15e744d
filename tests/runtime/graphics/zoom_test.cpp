#include "runtime/graphics/zoom.h"

#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

TEST_F(GraphicsTest, ZoomChangesOnlyTheLimitsAndResetsToThoseBeforeTheFirstZoom) {
    const Handle f = figure();
    const Handle ax = axes();
    set(Value(ax), {Value("XLim"), Value::row({0, 10}), Value("YLim"), Value::row({-5, 5})});
    EXPECT_FALSE(zoomIsOn(f));
    zoom({Value("on")});
    EXPECT_TRUE(zoomIsOn(f));

    zoomToRect(ax, 6, 2, 2, -1);  // a drag from right to left still gives rising limits
    EXPECT_EQ(get(Value(ax), "XLim").real(), (std::vector<double>{2, 6}));
    EXPECT_EQ(get(Value(ax), "YLim").real(), (std::vector<double>{-1, 2}));
    zoomIn(ax, 3, 0);
    EXPECT_EQ(get(Value(ax), "XLim").real(), (std::vector<double>{2, 4}));
    EXPECT_EQ(get(Value(ax), "YLim").real(), (std::vector<double>{-0.75, 0.75}));
    zoomToRect(ax, 1, 1, 1, 2);  // no area: nothing changes
    EXPECT_EQ(get(Value(ax), "XLim").real(), (std::vector<double>{2, 4}));

    zoomReset(ax);
    EXPECT_EQ(get(Value(ax), "XLim").real(), (std::vector<double>{0, 10}));
    EXPECT_EQ(get(Value(ax), "YLim").real(), (std::vector<double>{-5, 5}));
    zoom({Value(f), Value("off")});
    EXPECT_FALSE(zoomIsOn(f));
    zoom();
    EXPECT_TRUE(zoomIsOn(f));
    EXPECT_THROW(zoom({Value("sideways")}), Error);
}

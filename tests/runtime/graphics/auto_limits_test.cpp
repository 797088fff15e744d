// Automatic limits follow every change of their children's data, whichever child changed,
// and an axes outside its window works them out only when they are read.
#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

namespace {

struct LimitLog : GraphicsObserver {
    LimitLog() { graphics().addObserver(this); }
    ~LimitLog() override { graphics().removeObserver(this); }
    std::vector<std::string> log;
    void objectCreated(Handle) override {}
    void propertyChanged(Handle, const std::string& p, ChangeKind) override {
        if (p == "XLim" || p == "YLim" || p == "CLim") log.push_back(p);
    }
    void objectDeleted(Handle) override {}
};

std::vector<double> lim(Handle ax, const char* which) { return graphics().get(ax, which).real(); }

}  // namespace

TEST_F(GraphicsTest, LimitsFollowEachChildsDataBothWays) {
    figure({Value("Units"), Value("pixels"), Value("Position"), Value::row({1, 1, 600, 400})});
    const Handle ax = axes();
    hold("on");
    const Handle wide = plot({Value::row({0, 100}), Value::row({0, 50})}).at(0);
    const Handle narrow = plot({Value::row({10, 20}), Value::row({5, 8})}).at(0);
    EXPECT_EQ(lim(ax, "XLim"), (std::vector<double>{0, 100}));
    // The child that set the limits shrinks: they shrink with it.
    set(Value(wide), {Value("XData"), Value::row({12, 14}), Value("YData"), Value::row({6, 7})});
    EXPECT_EQ(lim(ax, "XLim"), (std::vector<double>{10, 20}));
    EXPECT_EQ(lim(ax, "YLim"), (std::vector<double>{5, 8}));
    g().remove(narrow);
    EXPECT_EQ(lim(ax, "XLim"), (std::vector<double>{12, 14}));

    // An image's colour range follows a change of its CData.
    const Handle img =
        image({Value::matrix(2, 2, {1, 2, 3, 4}), Value("CDataMapping"), Value("scaled")});
    EXPECT_EQ(lim(ax, "CLim"), (std::vector<double>{1, 4}));
    set(Value(img), {Value("CData"), Value::matrix(2, 2, {-1, 2, 3, 9})});
    EXPECT_EQ(lim(ax, "CLim"), (std::vector<double>{-1, 9}));
}

TEST_F(GraphicsTest, AnAxesOutOfSightWorksItsLimitsOutWhenRead) {
    figure({Value("Units"), Value("pixels"), Value("Position"), Value::row({1, 1, 600, 400})});
    const Handle seen = axes({Value("Position"), Value::row({0.1, 0.1, 0.8, 0.8})});
    const Handle cache = axes({Value("Position"), Value::row({-10, -10, 0.1, 0.1})});
    EXPECT_TRUE(g().outOfSight(cache));
    EXPECT_FALSE(g().outOfSight(seen));
    LimitLog log;
    hold("on");
    for (int k = 1; k <= 3; ++k)
        plot({Value::row({0, 10.0 * k}), Value::row({-double(k), 2.0 * k})});
    EXPECT_TRUE(log.log.empty()) << "nothing is worked out, nobody is told";

    // Read, they are what an axes of that size in sight shows for the same data.
    const auto x = lim(cache, "XLim"), y = lim(cache, "YLim");
    EXPECT_TRUE(log.log.empty());
    const Rect px = g().pixelPosition(cache);
    const Handle twin = axes(
        {Value("Units"), Value("pixels"), Value("Position"), Value::row({101, 101, px[2], px[3]})});
    hold("on");
    for (int k = 1; k <= 3; ++k)
        plot({Value::row({0, 10.0 * k}), Value::row({-double(k), 2.0 * k})});
    EXPECT_EQ(x, lim(twin, "XLim"));
    EXPECT_EQ(y, lim(twin, "YLim"));
    EXPECT_LE(y[0], -3);
    EXPECT_GE(y[1], 6);
    log.log.clear();

    // Coming into sight, they are worked out for its new size and the views are told.
    plot({Value::row({0, 40}), Value::row({0, 1}), Value("Parent"), Value(cache)});
    set(Value(cache), {Value("Position"), Value::row({0.5, 0.5, 0.4, 0.4})});
    EXPECT_FALSE(g().outOfSight(cache));
    EXPECT_EQ(lim(cache, "XLim"), (std::vector<double>{0, 40}));
    EXPECT_FALSE(log.log.empty());
}

#include "runtime/graphics/ticks.h"

#include <cmath>

#include "fixture.h"
#include "runtime/event_loop.h"

using namespace rt;
using gt::GraphicsTest;
using V = std::vector<double>;

namespace {

std::vector<double> vec(Handle h, const char* name) { return graphics().get(h, name).real(); }

}  // namespace

TEST(NiceTicks, StepsLimitsAndTicks) {
    struct Case {
        double lo, hi;
        int maxCount;
        double step, wideLo, wideHi;
        V ticks;
    };
    const Case cases[] = {
        {0, 1, 11, 0.1, 0, 1, {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1}},
        {0, 1, 6, 0.2, 0, 1, {0, 0.2, 0.4, 0.6, 0.8, 1}},
        {0, 9.3, 11, 1, 0, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {0, 9.3, 6, 2, 0, 10, {0, 2, 4, 6, 8}},
        {-3.7, 12, 9, 2, -4, 12, {-2, 0, 2, 4, 6, 8, 10, 12}},
        {-3.7, 12, 5, 5, -5, 15, {0, 5, 10}},
        {500, 16000, 11, 2000, 0, 16000, {2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000}},
        {12, -3.7, 9, 2, -4, 12, {-2, 0, 2, 4, 6, 8, 10, 12}},  // reversed order
        {5, 5, 5, 0.5, 4, 6, {4, 4.5, 5, 5.5, 6}},              // lo == hi
        {0, 0, 3, 1, -1, 1, {-1, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << ".." << c.hi << " max " << c.maxCount);
        const TickSet t = niceTicks(c.lo, c.hi, c.maxCount);
        EXPECT_DOUBLE_EQ(t.step, c.step);
        EXPECT_DOUBLE_EQ(t.lo, c.wideLo);
        EXPECT_DOUBLE_EQ(t.hi, c.wideHi);
        EXPECT_EQ(t.ticks, c.ticks);  // exact: decimal ticks must read back as printed
    }
}

TEST(NiceTicks, TinyHugeAndDegenerateSpans) {
    const TickSet tiny = niceTicks(1e-9, 3.2e-9, 6);
    EXPECT_DOUBLE_EQ(tiny.step, 5e-10);
    EXPECT_DOUBLE_EQ(tiny.lo, 1e-9);
    EXPECT_DOUBLE_EQ(tiny.hi, 3.5e-9);
    ASSERT_EQ(tiny.ticks.size(), 5u);
    EXPECT_DOUBLE_EQ(tiny.ticks.back(), 3e-9);

    const TickSet huge = niceTicks(-2e12, 7.5e12, 11);
    EXPECT_DOUBLE_EQ(huge.step, 1e12);
    EXPECT_DOUBLE_EQ(huge.lo, -2e12);
    EXPECT_DOUBLE_EQ(huge.hi, 8e12);
    EXPECT_EQ(huge.ticks.size(), 10u);

    // Near a large value the span, not the magnitude, sets the step.
    const TickSet offset = niceTicks(1e6, 1e6 + 3, 4);
    EXPECT_DOUBLE_EQ(offset.step, 1);
    EXPECT_DOUBLE_EQ(offset.ticks.front(), 1e6);

    // Limits set by hand that a coarse step would miss still get two ticks.
    const TickSet narrow = niceTicks(0.9, 1.1, 2);
    EXPECT_GE(narrow.ticks.size(), 2u);
    for (double v : narrow.ticks) EXPECT_TRUE(v >= 0.9 - 1e-12 && v <= 1.1 + 1e-12);

    EXPECT_TRUE(niceTicks(0, INFINITY, 5).ticks.empty());
    EXPECT_TRUE(niceTicks(NAN, 1, 5).ticks.empty());
}

TEST(NiceTicks, CountSuitsPixels) {
    EXPECT_EQ(tickCountFor(0), 2);
    EXPECT_EQ(tickCountFor(60), 2);
    EXPECT_EQ(tickCountFor(300), 7);
    EXPECT_EQ(tickCountFor(5000), 11);
}

TEST_F(GraphicsTest, AutoLimitsWidenToTicksAndTicksReadBack) {
    figure();
    const Handle ax =
        axes({Value("Units"), Value("pixels"), Value("Position"), Value::row({50, 50, 400, 300})});
    plot({Value::row({10, 50, 90}), Value::row({3.2, 20, 47.6})});
    drawnow();
    EXPECT_EQ(vec(ax, "XLim"), (V{10, 90}));
    EXPECT_EQ(vec(ax, "YLim"), (V{0, 50}));
    EXPECT_EQ(vec(ax, "XTick"), (V{10, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(vec(ax, "YTick"), (V{0, 10, 20, 30, 40, 50}));
    EXPECT_EQ(g().get(ax, "XTickMode").text(), "auto");

    // Hand-set limits: ticks follow them and stay inside.
    set(Value(ax), {Value("YLim"), Value::row({3, 48})});
    EXPECT_EQ(vec(ax, "YTick"), (V{10, 20, 30, 40}));
    // A smaller axes shows fewer ticks.
    set(Value(ax), {Value("Position"), Value::row({50, 50, 400, 120})});
    EXPECT_EQ(vec(ax, "YTick"), (V{20, 40}));

    // Ticks set by hand are kept; an empty set stays empty.
    set(Value(ax), {Value("XTick"), Value::row({15, 45})});
    EXPECT_EQ(vec(ax, "XTick"), (V{15, 45}));
    set(Value(ax), {Value("YTick"), Value()});
    EXPECT_TRUE(g().get(ax, "YTick").isEmpty());
    set(Value(ax), {Value("YTickMode"), Value("auto")});
    EXPECT_FALSE(g().get(ax, "YTick").isEmpty());
}

TEST_F(GraphicsTest, AxisEqualWidensTheAxisWithRoom) {
    struct Case {
        Rect pos;
        V xlim, ylim;
    };
    // Data 0..4 by 0..2: nice limits [0 4] and [0 2] before the aspect is fixed.
    const Case cases[] = {
        {{50, 50, 400, 100}, {-2, 6}, {0, 2}},  // wide: x gets the room
        {{50, 50, 100, 400}, {0, 4}, {-7, 9}},  // tall: y gets the room
    };
    for (const Case& c : cases) {
        figure();
        const Handle ax = axes({Value("Units"), Value("pixels"), Value("Position"),
                                Value::row({c.pos[0], c.pos[1], c.pos[2], c.pos[3]})});
        plot({Value::row({0, 4}), Value::row({0, 2})});
        axis({Value("equal")});
        drawnow();
        EXPECT_EQ(vec(ax, "Position"), (V{c.pos[0], c.pos[1], c.pos[2], c.pos[3]}));
        const V xl = vec(ax, "XLim"), yl = vec(ax, "YLim");
        EXPECT_EQ(xl, c.xlim);
        EXPECT_EQ(yl, c.ylim);
        EXPECT_NEAR((xl[1] - xl[0]) / c.pos[2], (yl[1] - yl[0]) / c.pos[3], 1e-12);
        for (double t : vec(ax, "XTick")) EXPECT_TRUE(t >= xl[0] && t <= xl[1]);
        // Limits set by hand are kept; the drawing shrinks the plot box instead.
        set(Value(ax), {Value("XLim"), Value::row({0, 1})});
        set(Value(ax), {Value("YLim"), Value::row({0, 1})});
        EXPECT_EQ(vec(ax, "XLim"), (V{0, 1}));
        EXPECT_EQ(vec(ax, "YLim"), (V{0, 1}));
    }
}

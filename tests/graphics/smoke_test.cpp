#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

TEST_F(GraphicsTest, FigureAxesLineTreeAndHandles) {
    const Handle f = figure({Value("Name"), Value("Main")});
    EXPECT_EQ(f, 1.0);
    const Handle a = axes();
    EXPECT_NE(a, std::floor(a));
    const auto lines = plot({Value::row({1, 2, 3}), Value::row({4, 5, 6}), Value("k")});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(get(Value(lines[0]), "Type").text(), "line");
    EXPECT_TRUE(get(Value(lines[0]), "Color").equals(Value::row({0, 0, 0})));
    EXPECT_EQ(gca(), a);
    EXPECT_EQ(gcf(), f);
    deleteObjects(Value(f));
    EXPECT_FALSE(g().isValid(lines[0]));
    EXPECT_FALSE(g().isValid(a));
}

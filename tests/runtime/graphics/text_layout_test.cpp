// The text block layout shared by Extent and the painter, with a font of known metrics:
// 10 units a character, ascent 8, descent 2.
#include "runtime/graphics/text_layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using rt::HAlign;
using rt::TextBlock;
using rt::VAlign;
using rt::Value;

rt::TextSize tenPerChar(const std::u16string& line) {
    return {10.0 * static_cast<double>(line.size()), 8, 2};
}

TEST(TextLayout, LinesAStringShows) {
    using L = std::vector<std::u16string>;
    EXPECT_EQ(rt::textLines(Value::charMatrix(std::vector<std::string>{"ab", "abcd"})),
              (L{u"ab", u"abcd"}));  // the padding of the first row is not text
    EXPECT_EQ(rt::textLines(Value("one\ntwo ")), (L{u"one", u"two"}));
    EXPECT_EQ(rt::textLines(Value::cell(1, 3, {Value("a"), Value(2.0), Value("")})),
              (L{u"a", u""}));
    EXPECT_EQ(rt::textLines(Value(0.5)), (L{u"0.5"}));  // a number is drawn as num2str writes it
    EXPECT_TRUE(rt::textLines(Value()).empty());
    EXPECT_TRUE(rt::textLines(Value("")).empty());
}

TEST(TextLayout, AlignmentPlacesTheBlockAroundItsAnchor) {
    // Two lines "abcd" and "ab": 40 wide, 20 high; box {left, bottom, width, height}.
    const std::vector<std::u16string> lines{u"abcd", u"ab"};
    struct Case {
        HAlign h;
        VAlign v;
        double left, bottom;
    } cases[] = {
        {HAlign::Left, VAlign::Top, 0, -20},       {HAlign::Center, VAlign::Middle, -20, -10},
        {HAlign::Right, VAlign::Bottom, -40, 0},   {HAlign::Left, VAlign::Baseline, 0, -2},
        {HAlign::Left, VAlign::Cap, 0, -20 + 0.8},
    };
    for (const Case& c : cases) {
        const TextBlock b = rt::layoutText(lines, c.h, c.v, 0, tenPerChar);
        EXPECT_NEAR(b.boxLeft, c.left, 1e-12) << int(c.h) << int(c.v);
        EXPECT_NEAR(b.boxBottom, c.bottom, 1e-12) << int(c.h) << int(c.v);
        EXPECT_NEAR(b.boxWidth, 40, 1e-12);
        EXPECT_NEAR(b.boxHeight, 20, 1e-12);
        // Baselines: the first line's ascent below the top, the next a line further down.
        const double top = c.bottom + 20;
        ASSERT_EQ(b.lines.size(), 2u);
        EXPECT_NEAR(b.lines[0].y, top - 8, 1e-12);
        EXPECT_NEAR(b.lines[1].y, top - 18, 1e-12);
        EXPECT_EQ(b.lines[0].x, 0);  // each line is aligned on its own at the anchor's column
        EXPECT_EQ(b.lines[1].width, 20);
    }
}

TEST(TextLayout, RotationTurnsTheBlockAboutItsAnchor) {
    // "abc" (30 x 10) left-aligned, middle: reads upwards when turned by 90 degrees, so the
    // box stands 10 wide and 30 high, its centre line on the anchor.
    const TextBlock up = rt::layoutText({u"abc"}, HAlign::Left, VAlign::Middle, 90, tenPerChar);
    EXPECT_NEAR(up.boxLeft, -5, 1e-9);
    EXPECT_NEAR(up.boxBottom, 0, 1e-9);
    EXPECT_NEAR(up.boxWidth, 10, 1e-9);
    EXPECT_NEAR(up.boxHeight, 30, 1e-9);
    // The baseline lies 3 below the centre line in the text's frame: 3 to the right here.
    EXPECT_NEAR(up.lines[0].x, 3, 1e-9);
    EXPECT_NEAR(up.lines[0].y, 0, 1e-9);

    // Reading downwards and ending at the anchor, its top edge on the anchor's column.
    const TextBlock down = rt::layoutText({u"abc"}, HAlign::Right, VAlign::Top, 270, tenPerChar);
    EXPECT_NEAR(down.boxLeft, -10, 1e-9);
    EXPECT_NEAR(down.boxBottom, 0, 1e-9);
    EXPECT_NEAR(down.boxWidth, 10, 1e-9);
    EXPECT_NEAR(down.boxHeight, 30, 1e-9);

    const TextBlock none = rt::layoutText({}, HAlign::Center, VAlign::Middle, 30, tenPerChar);
    EXPECT_TRUE(none.lines.empty());
    EXPECT_EQ(none.boxWidth, 0);
    EXPECT_EQ(none.boxHeight, 0);
}

}  // namespace

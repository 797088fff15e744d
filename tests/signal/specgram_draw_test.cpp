#include <gtest/gtest.h>

#include <cmath>

#include "runtime/graphics/graphics.h"
#include "runtime/graphics/jet.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "signal/specgram.h"

TEST(Jet, RampsOfTheSixtyFourEntryMap) {
    rt::Value j = rt::jet();
    ASSERT_EQ(j.rows(), 64u);
    ASSERT_EQ(j.cols(), 3u);
    auto at = [&](std::size_t r, std::size_t c) { return j.at(c * 64 + r - 1); };
    EXPECT_EQ(at(1, 0), 0);
    EXPECT_EQ(at(1, 2), 0.5625);   // dark blue first
    EXPECT_EQ(at(9, 1), 0.0625);   // green starts rising
    EXPECT_EQ(at(25, 0), 0.0625);  // red starts rising
    EXPECT_EQ(at(64, 0), 0.5);     // dark red last
    EXPECT_EQ(at(64, 2), 0);
    EXPECT_EQ(rt::jet(0).rows(), 0u);
}

TEST(SpecgramDraw, WithoutOutputsItDrawsTheDecibelImageTimeAcross) {
    rt::graphics().reset();
    rt::FunctionTable t;
    sig::register_specgram(t);
    std::vector<double> x(4000);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = std::sin(0.3 * static_cast<double>(i));
    EXPECT_TRUE(
        t.call("specgram", {rt::rowVector(x), rt::Value(256.0), rt::Value(1000.0)}, 0).empty());
    rt::Handle ax = rt::gca();
    rt::Value img = rt::findobj({rt::Value(ax), rt::Value("Type"), rt::Value("image")});
    ASSERT_EQ(img.numel(), 1u);
    rt::Value c = rt::get(img, "CData");
    EXPECT_EQ(c.rows(), 129u);  // frequencies up to Fs/2
    EXPECT_EQ(rt::get(rt::Value(ax), "YDir").text(), "normal");
    rt::Value xl = rt::get(rt::Value(ax), "XLabel");
    EXPECT_EQ(rt::get(xl, "String").text(), "Time");
    rt::Value yl = rt::get(rt::Value(ax), "YLabel");
    EXPECT_EQ(rt::get(yl, "String").text(), "Frequency");
    rt::graphics().reset();
}

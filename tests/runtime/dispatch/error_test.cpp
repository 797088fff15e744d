#include "runtime/dispatch/error.h"

#include <gtest/gtest.h>

TEST(Errors, ErrorWithEmptyTextDoesNothingAndWarningsGoToTheSink) {
    EXPECT_NO_THROW(rt::error(""));
    EXPECT_THROW(rt::error("x1 has to be larger than x2"), rt::Error);
    std::vector<std::string> lines;
    auto old = rt::setWarningSink([&](const std::string& l) { lines.push_back(l); });
    rt::warning("");
    rt::warning("Rounding order to nearest integer.");
    rt::setWarningSink(old);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Warning: Rounding order to nearest integer.");
}

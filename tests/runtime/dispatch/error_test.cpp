#include "runtime/dispatch/error.h"

#include <gtest/gtest.h>

#include <new>

#include "runtime/host.h"

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

// The library's name for memory that ran out is no message for a user.
TEST(Errors, MemoryThatRanOutIsToldInTheBuildsLanguage) {
    const std::bad_alloc ran_out;
    EXPECT_EQ(rt::caught(ran_out), "There is not enough memory for this.");
    EXPECT_EQ(rt::lasterr(), "There is not enough memory for this.");
    rt::setUiLanguage("de");
    EXPECT_EQ(rt::catchError([] { throw std::bad_alloc(); }),
              "Der Arbeitsspeicher reicht dafür nicht aus.");
    rt::setUiLanguage("en");
    EXPECT_EQ(rt::caught(rt::Error("Index exceeds matrix dimensions.")),
              "Index exceeds matrix dimensions.");
}

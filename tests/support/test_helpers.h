// Small helpers every test program may use.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/graphics.h"
#include "runtime/host.h"

namespace testsupport {

// The message of the rt::Error that f throws ("" when it throws none).
template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const rt::Error& e) {
        return e.what();
    }
    return "";
}

// Collects the warning lines for the life of the object.
struct WarningCapture {
    std::vector<std::string> lines;
    rt::WarningSink old;
    WarningCapture() {
        old = rt::setWarningSink([this](const std::string& l) { lines.push_back(l); });
    }
    ~WarningCapture() { rt::setWarningSink(old); }
};

// Starts from an empty object tree on a fixed 1920 x 1080 screen at 96 pixels per inch.
class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
    }
    void TearDown() override { rt::graphics().reset(); }
    rt::Graphics& g() { return rt::graphics(); }
};

}  // namespace testsupport

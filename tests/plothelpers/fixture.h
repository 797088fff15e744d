// Plot-helper tests start from an empty tree on a fixed 1920 x 1080 screen at 96 pixels per
// inch (so a point is 4/3 pixel) and the headless host's font estimate.
#pragma once

#include <gtest/gtest.h>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"

namespace ph {

class PlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
    }
    void TearDown() override { rt::graphics().reset(); }
    rt::Graphics& g() { return rt::graphics(); }
    std::string text(rt::Handle h, const char* prop) { return g().get(h, prop).text(); }
    double num(rt::Handle h, const char* prop) { return g().get(h, prop).scalar(); }
    std::vector<double> vec(rt::Handle h, const char* prop) { return g().get(h, prop).real(); }
};

// The message of the rt::Error the call throws ("" when it throws none).
template <class F>
std::string errorOf(F&& call) {
    try {
        call();
    } catch (const rt::Error& e) {
        return e.what();
    }
    return "";
}

}  // namespace ph

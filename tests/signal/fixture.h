// Plot-helper tests start from an empty tree on a fixed 1920 x 1080 screen at 96 pixels per
// inch (so a point is 4/3 pixel) and the headless host's font estimate.
#pragma once

#include <gtest/gtest.h>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"
#include "support/test_helpers.h"

namespace ph {

class PlotTest : public testsupport::GraphicsTest {
protected:
    std::string text(rt::Handle h, const char* prop) { return g().get(h, prop).text(); }
    double num(rt::Handle h, const char* prop) { return g().get(h, prop).scalar(); }
    std::vector<double> vec(rt::Handle h, const char* prop) { return g().get(h, prop).real(); }
};

using testsupport::errorOf;

}  // namespace ph

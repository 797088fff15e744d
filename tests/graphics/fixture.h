// Every graphics test starts from an empty tree with the default screen.
#pragma once

#include <gtest/gtest.h>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"

namespace gt {

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
    }
    void TearDown() override { rt::graphics().reset(); }
    rt::Graphics& g() { return rt::graphics(); }
};

inline rt::Values pairs(std::initializer_list<rt::Value> v) { return rt::Values(v); }

inline std::vector<double> handles(const rt::Value& v) { return v.real(); }

}  // namespace gt

// Every graphics test starts from an empty tree with the default screen.
#pragma once

#include <gtest/gtest.h>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"
#include "support/test_helpers.h"

namespace gt {

using GraphicsTest = testsupport::GraphicsTest;

inline rt::Values pairs(std::initializer_list<rt::Value> v) { return rt::Values(v); }

inline std::vector<double> handles(const rt::Value& v) { return v.real(); }

}  // namespace gt

// Outside programs some tests compare against, installed by scripts/install-deps.sh.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace testsupport {

// Success when `tool` is on the PATH; otherwise a failure that names the Debian package.
inline ::testing::AssertionResult toolInstalled(const std::string& tool,
                                                const std::string& package) {
    if (std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << tool << " is not installed: install the Debian package "
                                         << package << " (scripts/install-deps.sh does)";
}

}  // namespace testsupport

// Captures rt::warning lines for the duration of a scope.
#pragma once

#include <string>
#include <vector>

#include "runtime/dispatch/error.h"

struct WarningCapture {
    std::vector<std::string> lines;
    rt::WarningSink old;
    WarningCapture() { old = rt::setWarningSink([this](const std::string& l) { lines.push_back(l); }); }
    ~WarningCapture() { rt::setWarningSink(old); }
};

// The message of the rt::Error that f throws ("" when it does not throw).
template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const rt::Error& e) {
        return e.what();
    }
    return "";
}

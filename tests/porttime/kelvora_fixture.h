// Plays a user of kelvora: starts it in a fresh folder with a port sketch, under the Qt host
// on the offscreen platform with scripted dialogs, and presses its buttons through the
// callback texts they hold.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"

namespace kelvora_test {

class KelvoraTest : public ::testing::Test {
protected:
    KelvoraTest();
    void SetUp() override;
    void TearDown() override;

    // Writes a small sketch "auslassmassen.png" into the folder and starts the program.
    void start();
    // Types into the field tagged `tag`; presses the push button showing `label`.
    void type(const std::string& tag, const std::string& text);
    void press(const std::string& label);
    // The result window (0 when there is none) and its twelve lines, in drawing order.
    rt::Handle resultWindow() const;
    std::vector<std::string> resultLines() const;
    // The number that follows `label` in its result line (the first one after the colon).
    double resultNumber(const std::string& label) const;

    std::filesystem::path dir_, home_;
    rt::ScriptedDialogs dialogs_;
    std::unique_ptr<rt::QtHost> host_;
    rt::Host* previous_ = nullptr;
    rt::FunctionTable table_, builtins_;
    std::unique_ptr<rt::CallbackInterpreter> interp_;
};

}  // namespace kelvora_test

// Plays a user of the main window: starts rovantel in a fresh temporary folder with scripted
// dialogs, and runs callbacks through the texts the controls hold.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/host.h"
#include "shell/strings.h"

namespace shell_test {

// A host without windows: the fixture's scripted dialogs, nothing to wait for.
class TestHost : public rt::Host {
public:
    explicit TestHost(rt::Dialogs& d) : dialogs_(d) {}
    rt::ScreenInfo screen() const override { return {}; }
    rt::TextMetrics measureText(const std::string& text, const rt::FontSpec& font) const override {
        return {0.5 * font.points * static_cast<double>(text.size()), 1.2 * font.points,
                font.points, 0.2 * font.points};
    }
    rt::Dialogs& dialogs() override { return dialogs_; }
    void serveUntil(const std::function<bool()>&) override {}
    void flush() override {}
    void pause(double) override {}

private:
    rt::Dialogs& dialogs_;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program in `table`'s language; returns what it printed on standard output.
    std::string start(const shell::Strings& table = shell::german_table());

    // Runs the Callback text of the control tagged `tag` (as a click would).
    void click(const std::string& tag);
    // Runs the Callback text of the untagged button showing `label`.
    void click_label(const std::u16string& label);
    // The user chooses row `row` of a popup, then its callback runs.
    void choose(const std::string& tag, double row);
    void type(const std::string& tag, const std::string& text);

    rt::Value prop(const std::string& tag, const std::string& name) const;
    std::string text(const std::string& tag) const;
    double value(const std::string& tag) const;
    // Row `row` (1-based) of a popup's item list without its padding.
    std::u16string item(const std::string& tag, double row) const;

    std::filesystem::path dir_;
    std::filesystem::path home_;
    rt::ScriptedDialogs dialogs_;
    std::unique_ptr<TestHost> host_;
    rt::FunctionTable table_;
    rt::FunctionTable builtins_;
    std::unique_ptr<rt::CallbackInterpreter> interp_;
};

}  // namespace shell_test

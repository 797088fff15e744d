// Plays the recording editor as the evaluation opens it: the main window stands (German),
// busy, and the editor's modal wait runs the test's user actions once.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "editor/editor_window.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/value/eigen.h"
#include "shell/panel.h"
#include "support/shell_fixture.h"

namespace editor_test {

using rt::Value;

// The host's modal wait runs `user` (once) instead of serving real events.
class WaitingHost : public shell_test::TestHost {
public:
    using TestHost::TestHost;
    void serveUntil(const std::function<bool()>& done) override {
        if (done() || !user) return;
        auto act = std::move(user);
        user = nullptr;
        act();
    }
    std::function<void()> user;
};

// A tone channel of an engine speed rising linearly from rpm0 to rpm1 [1/min] over n samples
// at FS, L signals per revolution, amplitude 0.5.
inline Eigen::VectorXd engine_tone(Eigen::Index n, double FS, double L, double rpm0, double rpm1) {
    Eigen::VectorXd y(n);
    double phase = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double rpm = rpm0 + (rpm1 - rpm0) * static_cast<double>(i) / static_cast<double>(n);
        phase += 2 * std::numbers::pi * rpm / 60 * L / FS;
        y(i) = 0.5 * std::sin(phase);
    }
    return y;
}

// Two channels: the engine tone on channel 1, a quieter ramp on channel 2.
inline Eigen::MatrixXd recording(double seconds, double FS) {
    const auto n = static_cast<Eigen::Index>(std::llround(seconds * FS));
    Eigen::MatrixXd Y(n, 2);
    Y.col(0) = engine_tone(n, FS, 3, 3000, 9000);
    Y.col(1) = Eigen::VectorXd::LinSpaced(n, -0.1, 0.1);
    return Y;
}

class EditorTest : public shell_test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        waiting_ = std::make_unique<WaitingHost>(dialogs_);
        rt::setHost(waiting_.get());
        start();
        busy();
    }
    void TearDown() override {
        ShellTest::TearDown();
        waiting_.reset();
    }

    const shell::Strings& st() const { return shell::german_table(); }
    Value st_value() const { return shell::to_value(st()); }

    // The evaluation's busy state of the main window.
    void busy() {
        const rt::Handle main = shell::tagged("Main Figure").scalar();
        rt::setProps(Value(main), {{"Pointer", "watch"}});
        rt::setProps(rt::findobj({Value(main), Value("Enable"), Value("on")}),
                     {{"Enable", "inactive"}});
    }
    bool main_busy() const {
        const rt::Handle main = shell::tagged("Main Figure").scalar();
        return rt::get(Value(main), "Pointer").text() == "watch" &&
               !rt::findobj({Value(main), Value("Enable"), Value("inactive")}).isEmpty();
    }
    bool main_ready() const {
        const rt::Handle main = shell::tagged("Main Figure").scalar();
        return rt::get(Value(main), "Pointer").text() == "arrow" &&
               rt::findobj({Value(main), Value("Enable"), Value("inactive")}).isEmpty();
    }

    // What the user does while the editor waits.
    void on_wait(std::function<void()> act) { waiting_->user = std::move(act); }

    rt::Handle window() const { return editor::editor_window(st().cut_File); }
    rt::Handle axes() const { return editor::editor_axes(st().cut_File); }
    rt::Handle tagged1(const char* tag) const { return shell::tagged(tag).scalar(); }
    // The user zooms the editor axes to [a, b].
    void zoom_to(double a, double b) { rt::setProps(Value(axes()), {{"XLim", {a, b}}}); }
    // Runs the Callback of the editor's button showing `label`.
    void press(const std::u16string& label) {
        const Value h = rt::findobj({Value(window()), Value("String"), Value(label)});
        ASSERT_EQ(h.numel(), 1u);
        interp_->eval(rt::get(h, "Callback").text16());
    }
    void next() { press(st().cut_next); }
    void done() { press(st().cut_done); }
    void cancel() { press(st().cancel); }

    // The editor's outputs when called by name as the evaluation calls it.
    rt::Values call(const std::string& name, const rt::Values& in, int nout) {
        return table_.call(name, in, nout);
    }

    std::unique_ptr<WaitingHost> waiting_;
};

}  // namespace editor_test

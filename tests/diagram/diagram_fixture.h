// Plays the evaluation handing runs to the diagram: the main window stands as after start-up
// on a 1920 x 1080 screen, and runs go to plot_diag by name as the evaluation hands them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "shell/panel.h"
#include "support/shell_fixture.h"

namespace diagram_test {

using rt::Value;

// n evenly spaced values from a to b.
inline std::vector<double> ramp(double a, double b, std::size_t n) {
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = n == 1 ? a : a + (b - a) * static_cast<double>(i) / static_cast<double>(n - 1);
    return v;
}

// A power-like hump over x: peak `top` at 70 % of the range.
inline std::vector<double> hump(const std::vector<double>& x, double top) {
    std::vector<double> y(x.size());
    const double a = x.front(), b = x.back(), at = a + 0.7 * (b - a);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = (x[i] - at) / (b - a);
        y[i] = top * (1 - 2 * t * t);
    }
    return y;
}

inline Value columns(const std::vector<double>& a, const std::vector<double>& b = {}) {
    std::vector<double> d = a;
    d.insert(d.end(), b.begin(), b.end());
    return Value::matrix(a.size(), b.empty() ? 1 : 2, d);
}

class DiagramTest : public shell_test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        start();
    }
    void TearDown() override {
        rt::graphics().useHostScreen();
        ShellTest::TearDown();
    }

    // plot_diag(x, y, colour, comment, vx, vy, k) through the table, as the evaluation calls it.
    void plot(const std::vector<double>& x, const Value& y, std::vector<double> colour = {0, 0, 1},
              const std::string& comment = "run", double vx = 1, double vy = 1, double k = 1) {
        table_.call("plot_diag",
                    {rt::rowVector(x), y, Value::row(colour), Value(comment), Value(vx), Value(vy),
                     Value(k)},
                    0);
    }

    std::u16string figname(double vx = 1, double vy = 1) const {
        const shell::Strings& st = shell::text_table();
        auto row = [](const shell::TextList& l, double r) {
            std::u16string s = l.rows[static_cast<std::size_t>(r) - 1];
            return s + std::u16string(l.width - s.size(), u' ');
        };
        std::u16string whole =
            st.fig_diag + u": " + row(st.popup_xaxis, vx) + u" - " + row(st.popup_yaxis, vy);
        std::u16string out;
        for (std::size_t i = 0; i < whole.size(); ++i)
            if (!(whole[i] == u' ' && i + 1 < whole.size() && whole[i + 1] == u' '))
                out += whole[i];
        return out;
    }

    rt::Handle window(double vx = 1, double vy = 1) const {
        const Value f =
            rt::findobj({Value("Type"), Value("figure"), Value("Name"), Value(figname(vx, vy))});
        return f.isEmpty() ? 0 : f.at(0);
    }
    rt::Handle axes(double vx = 1, double vy = 1) const {
        return shell::tagged(u"DiagAxes" + figname(vx, vy)).scalar();
    }
    // Objects whose Tag begins with `prefix` + figname (newest first).
    std::vector<rt::Handle> tagged_from(const std::u16string& prefix, double vx = 1,
                                        double vy = 1) const {
        std::vector<rt::Handle> out;
        const std::u16string head = prefix + figname(vx, vy);
        for (double h : rt::findobj({}).real()) {
            const Value t = rt::graphics().get(h, "Tag");
            if (t.isChar() && t.text16().rfind(head, 0) == 0) out.push_back(h);
        }
        return out;
    }
    // Runs the Callback text of `control` as a click would.
    void click(rt::Handle control) { interp_->eval(rt::get(Value(control), "Callback").text16()); }
    using ShellTest::click;
};

}  // namespace diagram_test

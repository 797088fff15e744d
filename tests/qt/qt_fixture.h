// A Qt host over the process-wide object model, with scripted dialogs and a small table of
// functions that callback texts can call, for tests that play the user.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <vector>

#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/error.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"
#include "runtime/host.h"

class QtFixture : public ::testing::Test {
protected:
    QtFixture()
        : dialogs([](const std::string& line) { ADD_FAILURE() << line; }),
          interpreter(table, &builtins) {
        rt::register_graphics_builtins(builtins);
        // hit: records a call; boom: fails; probe(h): records h's Value and String.
        table.add("hit", 0, 0, [this](const rt::Values&, int) {
            calls.push_back("hit");
            return rt::Values{};
        });
        table.add("boom", 0, 0, [this](const rt::Values&, int) -> rt::Values {
            calls.push_back("boom");
            throw rt::Error("boom went off");
        });
        table.add("probe", 1, 0, [this](const rt::Values& in, int) {
            rt::Graphics& g = rt::graphics();
            const rt::Handle h = in.at(0).scalar();
            calls.push_back("probe " + std::to_string(g.get(h, "Value").scalar()) + " " +
                            g.get(h, "String").text() + " gcf " +
                            std::to_string(g.currentFigure()));
            return rt::Values{};
        });
    }

    void SetUp() override {
        rt::graphics().reset();
        host = std::make_unique<rt::QtHost>();
        host->setDialogs(&dialogs);
        host->setEvaluator([this](const std::string& code) { interpreter.eval(code); });
        previous = rt::setHost(host.get());
    }

    void TearDown() override {
        rt::graphics().reset();
        rt::setHost(previous);
        host.reset();
        EXPECT_EQ(dialogs.pending(), 0u) << "answers left unused";
    }

    rt::Handle figure(const rt::Values& pairs = {}) { return rt::figure(pairs); }
    // A control on figure `fig` with normalized units.
    rt::Handle control(rt::Handle fig, const std::string& style, rt::Values pairs) {
        rt::Values all = {rt::Value("Parent"), rt::Value(fig),     rt::Value("Style"),
                          rt::Value(style),    rt::Value("Units"), rt::Value("normalized")};
        all.insert(all.end(), pairs.begin(), pairs.end());
        return rt::uicontrol(all);
    }
    QWidget* widget(rt::Handle control) {
        rt::Graphics& g = rt::graphics();
        rt::FigureWindow* w = host->window(g.parent(control));
        if (!w || !w->control(control)) return nullptr;
        return w->control(control)->widget();
    }

    rt::FunctionTable table, builtins;
    rt::ScriptedDialogs dialogs;
    rt::CallbackInterpreter interpreter;
    std::unique_ptr<rt::QtHost> host;
    rt::Host* previous = nullptr;
    std::vector<std::string> calls;
};

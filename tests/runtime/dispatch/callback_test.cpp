#include "runtime/dispatch/callback.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "runtime/dispatch/error.h"

namespace {

struct Call {
    std::string name;
    rt::Values in;
    int nargout;
};

// The program's table and the graphics built-ins, as stand-ins that record every call.
class CallbackTest : public ::testing::Test {
protected:
    CallbackTest() {
        for (const char* name : {"get_wav_filename",
                                 "adj_par",
                                 "gearing_tab",
                                 "wheel",
                                 "load_par",
                                 "save_par",
                                 "calc_diag",
                                 "set_sdiag_color",
                                 "clear_cache",
                                 "calc_wheel",
                                 "wheel_tab",
                                 "wheel_tab_add",
                                 "gearing_tab_add",
                                 "wheel_tab_rm",
                                 "gearing_tab_rm",
                                 "put_wav_filename",
                                 "erase",
                                 "erase_stop",
                                 "get_pdf_file",
                                 "calc_auslass",
                                 "meanvis",
                                 "export_ascii",
                                 "print_fig",
                                 "toggle_vis",
                                 "ch_color",
                                 "save_wav_cut",
                                 "save_wav_era",
                                 "wheel_tab_bdf",
                                 "gearing_tab_bdf"})
            program.add(name, -1, 0, recorder(name));
        program.add("calc_diag", 0, 0, recorder("calc_diag"));
        program.add("ax_lims", 4, 3, recorder("ax_lims"));
        program.add("strings", 0, 1, recorder("strings", rt::Values{rt::Value("st")}));
        builtins.add("set", -1, 0, recorder("set"));
        builtins.add("close", -1, 1, recorder("close"));
        builtins.add("delete", -1, 0, recorder("delete"));
        builtins.add("findobj", -1, 1, [this](const rt::Values& in, int nargout) {
            calls.push_back({"findobj", in, nargout});
            // Two matches, newest first, for the diagram axes; none otherwise.
            if (in.size() == 2 && in[1].text() == "DiagAxesX - Y")
                return rt::Values{rt::Value::column({17.0, 12.0})};
            return rt::Values{rt::Value()};
        });
    }

    rt::NamedFn recorder(std::string name, rt::Values out = {}) {
        return [this, name, out](const rt::Values& in, int nargout) {
            calls.push_back({name, in, nargout});
            return out;
        };
    }

    void eval(const std::string& text) { interpreter.eval(text); }

    rt::FunctionTable program;
    rt::FunctionTable builtins;
    rt::CallbackInterpreter interpreter{program, &builtins};
    std::vector<Call> calls;
};

std::string textOf(const rt::Value& v) { return v.isChar() ? v.text() : "<not char>"; }

TEST_F(CallbackTest, EveryFixedCallbackTextCallsItsFunctionWithoutArguments) {
    const std::pair<const char*, const char*> cases[] = {
        {"get_wav_filename;", "get_wav_filename"},
        {"adj_par", "adj_par"},
        {"gearing_tab", "gearing_tab"},
        {"wheel", "wheel"},
        {"load_par", "load_par"},
        {"save_par", "save_par"},
        {"calc_diag", "calc_diag"},
        {"set_sdiag_color", "set_sdiag_color"},
        {"clear_cache", "clear_cache"},
        {"calc_wheel", "calc_wheel"},
        {"wheel_tab", "wheel_tab"},
        {"wheel_tab_add", "wheel_tab_add"},
        {"gearing_tab_add", "gearing_tab_add"},
        {"wheel_tab_rm", "wheel_tab_rm"},
        {"gearing_tab_rm", "gearing_tab_rm"},
        {"put_wav_filename;", "put_wav_filename"},
        {"erase", "erase"},
        {"erase_stop", "erase_stop"},
        {"get_pdf_file;", "get_pdf_file"},
        {"calc_auslass;", "calc_auslass"},
    };
    for (const auto& [text, name] : cases) {
        SCOPED_TRACE(text);
        calls.clear();
        eval(text);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].name, name);
        EXPECT_TRUE(calls[0].in.empty());
        EXPECT_EQ(calls[0].nargout, 0);
    }
    calls.clear();
    eval("");
    eval("   ");
    EXPECT_TRUE(calls.empty());
}

TEST_F(CallbackTest, DiagramWindowButtons) {
    eval("meanvis([3  1  2  1.0405])");
    eval("export_ascii(3)");
    eval("print_fig(12)");
    eval("ch_color('X - Y1');");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "meanvis");
    ASSERT_EQ(calls[0].in.size(), 1u);
    EXPECT_TRUE(calls[0].in[0].equals(rt::Value::row({3, 1, 2, 1.0405})));
    EXPECT_TRUE(calls[1].in[0].equals(rt::Value(3.0)));
    EXPECT_TRUE(calls[2].in[0].equals(rt::Value(12.0)));
    EXPECT_EQ(textOf(calls[3].in[0]), "X - Y1");
}

TEST_F(CallbackTest, VisibilitySwitchWithANestedFindobj) {
    eval("toggle_vis('DiagX - Y1');ax_lims(findobj('Tag','DiagAxesX - Y'),2,'X - Y','Y');");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].name, "toggle_vis");
    EXPECT_EQ(textOf(calls[0].in[0]), "DiagX - Y1");
    EXPECT_EQ(calls[1].name, "findobj");
    EXPECT_EQ(calls[1].nargout, 1);
    ASSERT_EQ(calls[1].in.size(), 2u);
    EXPECT_EQ(textOf(calls[1].in[0]), "Tag");
    EXPECT_EQ(textOf(calls[1].in[1]), "DiagAxesX - Y");
    EXPECT_EQ(calls[2].name, "ax_lims");
    EXPECT_EQ(calls[2].nargout, 0);
    ASSERT_EQ(calls[2].in.size(), 4u);
    EXPECT_TRUE(calls[2].in[0].equals(rt::Value::column({17.0, 12.0})));
    EXPECT_TRUE(calls[2].in[1].equals(rt::Value(2.0)));
    EXPECT_EQ(textOf(calls[2].in[2]), "X - Y");
    EXPECT_EQ(textOf(calls[2].in[3]), "Y");

    // No match: the empty value is passed on, not an error.
    calls.clear();
    eval("ax_lims(findobj('Tag','DiagAxesnone'),1,'none','Y')");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[1].in[0].isEmpty());
}

TEST_F(CallbackTest, EditorWindowButtonsAndTheEraser) {
    eval("save_wav_cut('/home/tuner/runs/o''brien 3.wav')");
    eval("save_wav_cut('/home/tuner/runs/run #2: 1² [a].wav');");
    eval("save_wav_era('/tmp/r.wav',[1 2],0.45)");
    eval("put_wav_filename([2],1);");
    eval("set(5,'Visible','off','UserData', 1);");
    eval("set(5,'Visible','off','UserData', 0);");
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(textOf(calls[0].in[0]), "/home/tuner/runs/o'brien 3.wav");
    EXPECT_EQ(textOf(calls[1].in[0]), "/home/tuner/runs/run #2: 1² [a].wav");
    EXPECT_EQ(calls[1].in[0].cols(), 35u);  // "²" is one 16-bit character
    EXPECT_TRUE(calls[2].in[1].equals(rt::Value::row({1, 2})));
    EXPECT_TRUE(calls[2].in[2].equals(rt::Value(0.45)));
    EXPECT_TRUE(calls[3].in[0].equals(rt::Value(2.0)));
    EXPECT_TRUE(calls[3].in[1].equals(rt::Value(1.0)));
    for (int i : {4, 5}) {
        EXPECT_EQ(calls[i].name, "set");
        ASSERT_EQ(calls[i].in.size(), 5u);
        EXPECT_TRUE(calls[i].in[0].equals(rt::Value(5.0)));
        EXPECT_EQ(textOf(calls[i].in[1]), "Visible");
        EXPECT_EQ(textOf(calls[i].in[2]), "off");
        EXPECT_EQ(textOf(calls[i].in[3]), "UserData");
        EXPECT_TRUE(calls[i].in[4].equals(rt::Value(i == 4 ? 1.0 : 0.0)));
    }

    calls.clear();
    eval("erase,set(3,'WindowButtonMotionFcn', 'erase')");
    eval("set(3,'WindowButtonMotionFcn', '')");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].name, "erase");
    EXPECT_TRUE(calls[0].in.empty());
    EXPECT_EQ(calls[1].name, "set");
    EXPECT_EQ(textOf(calls[1].in[2]), "erase");
    const rt::Value& cleared = calls[2].in[2];
    EXPECT_TRUE(cleared.isChar());
    EXPECT_EQ(cleared.rows(), 0u);
    EXPECT_EQ(cleared.cols(), 0u);
}

TEST_F(CallbackTest, TableWindowButtons) {
    eval("wheel_tab_bdf; close(4)");
    eval("gearing_tab_bdf; close(4)");
    eval("close(4)");
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].name, "wheel_tab_bdf");
    EXPECT_EQ(calls[1].name, "close");
    EXPECT_EQ(calls[1].nargout, 0);
    EXPECT_TRUE(calls[1].in[0].equals(rt::Value(4.0)));
    EXPECT_EQ(calls[2].name, "gearing_tab_bdf");
    EXPECT_EQ(calls[4].name, "close");
}

TEST_F(CallbackTest, NumberForms) {
    eval("meanvis(NaN, Inf, -Inf, .5, 5., -2.5e-3, +7, 1E3, 1e999, 1e-999, 0.1)");
    ASSERT_EQ(calls.size(), 1u);
    const rt::Values& in = calls[0].in;
    ASSERT_EQ(in.size(), 11u);
    EXPECT_TRUE(std::isnan(in[0].scalar()));
    const double expected[] = {INFINITY, -INFINITY, 0.5,      5.0, -2.5e-3,
                               7.0,      1000.0,    INFINITY, 0.0, 0.1};
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(in[i + 1].isDouble());
        EXPECT_EQ(in[i + 1].scalar(), expected[i]) << i + 1;
    }

    calls.clear();
    eval("meanvis([1,2 , 3   4\t-5 NaN -Inf .25], [], [ 7 ])");
    const rt::Value& row = calls[0].in[0];
    ASSERT_EQ(row.dims(), (std::vector<std::size_t>{1, 8}));
    const double elements[] = {1, 2, 3, 4, -5, NAN, -INFINITY, 0.25};
    for (std::size_t i = 0; i < 8; ++i) {
        if (std::isnan(elements[i]))
            EXPECT_TRUE(std::isnan(row.at(i)));
        else
            EXPECT_EQ(row.at(i), elements[i]) << i;
    }
    EXPECT_TRUE(calls[0].in[1].isDouble());
    EXPECT_EQ(calls[0].in[1].dims(), (std::vector<std::size_t>{0, 0}));
    EXPECT_TRUE(calls[0].in[2].equals(rt::Value(7.0)));
}

TEST_F(CallbackTest, SyntaxErrorsRunNothing) {
    const char* bad[] = {
        "calc_diag; f(",       "calc_diag; f(1",      "calc_diag; f('abc)", "calc_diag; f(1 2)",
        "calc_diag; f g",      "calc_diag; f(1,)",    "calc_diag; [1]",     "calc_diag; f([1-2])",
        "calc_diag; f(1.2.3)", "calc_diag; f(1e)",    "calc_diag; f(..5)",  "calc_diag; 3f",
        "calc_diag; f(',')x",  "calc_diag; f(.)",     "calc_diag; f([1,])", "calc_diag; f([1 2)",
        "calc_diag; f(-)",     "calc_diag; f(-NaNa)", "calc_diag; f(2x)",   "calc_diag; _f",
        "calc_diag; f(1)(2)",  "calc_diag; f([1;2])", "calc_diag; f(x=1)",  "calc_diag; f(''')",
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        try {
            eval(text);
            ADD_FAILURE() << "no error";
        } catch (const rt::Error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Syntax error in callback \"", 0), 0u)
                << e.what();
        }
    }
    EXPECT_TRUE(calls.empty());

    try {
        eval("f(1 2)");
        ADD_FAILURE() << "no error";
    } catch (const rt::Error& e) {
        EXPECT_STREQ(e.what(),
                     "Syntax error in callback \"f(1 2)\" at character 5: expected ',' or ')' "
                     "in the arguments of 'f'.");
    }
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "strings(";
    EXPECT_THROW(eval(deep), rt::Error);
}

TEST_F(CallbackTest, SeparatorsAndBlanks) {
    eval("  calc_diag ; ;wheel,\terase ;");
    eval("calc_diag\nwheel");
    eval("meanvis ( 1 ,\n 'a' )");
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[2].name, "erase");
    EXPECT_EQ(calls[4].name, "wheel");
    ASSERT_EQ(calls[5].in.size(), 2u);
    EXPECT_EQ(textOf(calls[5].in[1]), "a");
}

TEST_F(CallbackTest, RunTimeErrorsStopTheRestOfTheText) {
    program.add("get_par", 0, 24, recorder("get_par"));  // assigns nothing
    struct Case {
        const char* text;
        const char* error;
        std::size_t callsBefore;
    } cases[] = {
        {"wheel; nosuch(1); erase", "Undefined function 'nosuch'.", 1},
        {"calc_diag(1); erase",
         "Too many input arguments in call to 'calc_diag' (1 given, declared: 0).", 0},
        {"meanvis(calc_diag)",
         "Too many output arguments in call to 'calc_diag' (1 given, declared: 0).", 0},
        {"meanvis(get_par)", "One or more output arguments not assigned during call to 'get_par'.",
         1},
        {"ax_lims(1,2,3,4,5)",
         "Too many input arguments in call to 'ax_lims' (5 given, declared: 4).", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        calls.clear();
        try {
            eval(c.text);
            ADD_FAILURE() << "no error";
        } catch (const rt::Error& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
        EXPECT_EQ(calls.size(), c.callsBefore);
    }
}

TEST_F(CallbackTest, ProgramFunctionsComeBeforeBuiltinsAndNestedValuesArePassed) {
    program.add("close", 1, 0, recorder("program close"));
    eval("close(strings)");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "strings");
    EXPECT_EQ(calls[0].nargout, 1);
    EXPECT_EQ(calls[1].name, "program close");
    EXPECT_EQ(textOf(calls[1].in[0]), "st");
    EXPECT_EQ(interpreter.resolve("delete"), builtins.find("delete"));
    EXPECT_EQ(interpreter.resolve("nosuch"), nullptr);

    rt::CallbackInterpreter bare(program);
    EXPECT_THROW(bare.eval("delete(3)"), rt::Error);
    calls.clear();
    bare.eval(std::u16string(u"ch_color('Übersetzung 3')"));
    EXPECT_EQ(textOf(calls[0].in[0]), "Übersetzung 3");
}

TEST_F(CallbackTest, TheEventLoopReportsAnErrorSetsLasterrAndGoesOn) {
    program.add("calc_diag", 0, 0, [](const rt::Values&, int) -> rt::Values {
        rt::error("Datei nicht gefunden");
        return {};
    });
    program.add("broken", 0, 0, [](const rt::Values&, int) -> rt::Values {
        throw std::length_error("vector too long");
    });
    std::ostringstream report;
    rt::setLasterr("");
    EXPECT_FALSE(rt::runCallback(interpreter, "calc_diag; wheel", report));
    EXPECT_EQ(rt::lasterr(), "Datei nicht gefunden");
    EXPECT_EQ(report.str(), "Error in callback: Datei nicht gefunden\n");
    EXPECT_TRUE(calls.empty());

    EXPECT_TRUE(rt::runCallback(interpreter, "wheel", report));
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(rt::lasterr(), "Datei nicht gefunden");  // success leaves it

    EXPECT_FALSE(rt::runCallback(interpreter, "broken", report));
    EXPECT_EQ(rt::lasterr(), "vector too long");
    EXPECT_FALSE(rt::runCallback(interpreter, "f(", report));
    EXPECT_EQ(rt::lasterr().rfind("Syntax error", 0), 0u);
}

TEST(CallbackParser, SyntaxTree) {
    const auto tree = rt::parseCallback("a; b(c('x',[1 2]), -3)");
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].name, "a");
    EXPECT_EQ(tree[1].name, "b");
    EXPECT_EQ(tree[1].offset, 3u);
    ASSERT_EQ(tree[1].args.size(), 2u);
    const rt::CallbackArg& nested = tree[1].args[0];
    ASSERT_EQ(nested.kind, rt::CallbackArg::Kind::Call);
    EXPECT_EQ(nested.call[0].name, "c");
    ASSERT_EQ(nested.call[0].args.size(), 2u);
    EXPECT_EQ(nested.call[0].args[0].kind, rt::CallbackArg::Kind::Text);
    EXPECT_EQ(nested.call[0].args[1].kind, rt::CallbackArg::Kind::Row);
    EXPECT_EQ(nested.call[0].args[1].numbers, (std::vector<double>{1, 2}));
    EXPECT_EQ(tree[1].args[1].kind, rt::CallbackArg::Kind::Number);
    EXPECT_EQ(tree[1].args[1].numbers, (std::vector<double>{-3}));
}

TEST(CallbackQuoting, AnyTextReadsBackUnchangedFromItsQuotedForm) {
    EXPECT_EQ(rt::quotedArgument(u"Mike's runs"), u"'Mike''s runs'");
    for (const std::u16string& text : {std::u16string(), std::u16string(u"'"),
                                       std::u16string(u"a''b'"), std::u16string(u"Ü');x('")}) {
        const auto tree = rt::parseCallback(rt::utf8(u"f(" + rt::quotedArgument(text) + u",1)"));
        ASSERT_EQ(tree.size(), 1u);
        ASSERT_EQ(tree[0].args.size(), 2u);
        EXPECT_EQ(rt::utf16(tree[0].args[0].text), text);
    }
}

}  // namespace

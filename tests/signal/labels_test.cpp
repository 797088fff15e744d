#include "fixture.h"
#include "runtime/dispatch/function_table.h"
#include "signal/title.h"
#include "signal/xlabel.h"
#include "signal/ylabel.h"

namespace {

using ph::errorOf;
using rt::Value;

class LabelTest : public ph::PlotTest {};

TEST_F(LabelTest, TitleTakesTheAxesFontAndPairsOverrideIt) {
    rt::figure();
    const rt::Handle ax = rt::axes({Value("FontSize"), Value(14.0), Value("FontName"),
                                    Value("Times"), Value("FontAngle"), Value("italic")});
    const rt::Handle h = sig::title(Value("Leistung"));
    EXPECT_EQ(h, num(ax, "Title"));
    EXPECT_EQ(text(h, "String"), "Leistung");
    EXPECT_EQ(num(h, "FontSize"), 14);
    EXPECT_EQ(text(h, "FontName"), "Times");
    EXPECT_EQ(text(h, "FontAngle"), "italic");
    EXPECT_EQ(text(h, "FontWeight"), "normal");
    EXPECT_EQ(num(h, "Rotation"), 0);

    sig::title(Value("fett"), {Value("FontSize"), Value(12.0), Value("FontWeight"), Value("bold")});
    EXPECT_EQ(num(h, "FontSize"), 12);
    EXPECT_EQ(text(h, "FontWeight"), "bold");
    EXPECT_EQ(text(h, "String"), "fett");
    // Lower-case names as the bold-title helper passes them.
    sig::title(Value("klein"), {Value("fontsize"), Value(9.0), Value("fontweight"), Value("bold")});
    EXPECT_EQ(num(h, "FontSize"), 9);
}

TEST_F(LabelTest, TitleIsTurnedBackUprightButAxisLabelsKeepTheirRotation) {
    const rt::Handle ax = rt::gca();
    const rt::Handle t = num(ax, "Title"), y = num(ax, "YLabel");
    g().set(t, "Rotation", Value(30.0));
    const double yRotation = num(y, "Rotation");
    g().set(y, "Rotation", Value(yRotation + 10));
    sig::title(Value("t"));
    sig::ylabel(Value("y"));
    EXPECT_EQ(num(t, "Rotation"), 0);
    EXPECT_EQ(num(y, "Rotation"), yRotation + 10);
}

TEST_F(LabelTest, EachMemberSetsItsOwnLabel) {
    const rt::Handle ax = rt::gca();
    EXPECT_EQ(sig::xlabel(Value("Zeit [s]")), num(ax, "XLabel"));
    EXPECT_EQ(sig::ylabel(Value("Drehzahl")), num(ax, "YLabel"));
    EXPECT_EQ(text(num(ax, "XLabel"), "String"), "Zeit [s]");
    EXPECT_EQ(text(num(ax, "YLabel"), "String"), "Drehzahl");
    EXPECT_EQ(text(num(ax, "Title"), "String"), "");
}

TEST_F(LabelTest, OddPairsAndDivertedAxesAreRefused) {
    EXPECT_EQ(errorOf([] { sig::xlabel(Value("x"), {Value("Color")}); }),
              "Incorrect number of input arguments");
    EXPECT_EQ(errorOf([] {
                  sig::title(Value("x"), {Value("Color"), Value("r"), Value("FontSize")});
              }),
              "Incorrect number of input arguments");
    EXPECT_TRUE(g().figures().empty()) << "refused before touching the axes";

    const rt::Handle ax = rt::gca();
    g().setAppData(ax, "BYPASS_ylabel", Value(1.0));
    EXPECT_NE(errorOf([] { sig::ylabel(Value("y")); }).find("BYPASS_ylabel"), std::string::npos);
    EXPECT_EQ(text(num(ax, "YLabel"), "String"), "");
    sig::xlabel(Value("x"));  // the other members are not diverted
    EXPECT_EQ(text(num(ax, "XLabel"), "String"), "x");
}

TEST_F(LabelTest, ByNameEntries) {
    rt::FunctionTable t;
    sig::register_title(t);
    sig::register_xlabel(t);
    sig::register_ylabel(t);
    for (const char* name : {"title", "xlabel", "ylabel"}) {
        EXPECT_EQ(t.find(name)->nin, -2) << name;
        EXPECT_EQ(t.find(name)->nout, 1) << name;
        EXPECT_TRUE(t.call(name, {Value("a")}, 0).empty()) << name;
        EXPECT_EQ(t.call(name, {Value("a"), Value("Color"), Value("r")}, 1).size(), 1u) << name;
        EXPECT_EQ(errorOf([&] { t.call(name, {}, 0); }), "Not enough input arguments.") << name;
        EXPECT_EQ(errorOf([&] {
                      t.call(name, {Value("a"), Value("Color")}, 0);
                  }),
                  "Incorrect number of input arguments")
            << name;
    }
    const rt::Handle h = t.call("ylabel", {Value("Moment")}, 1)[0].scalar();
    EXPECT_EQ(h, num(rt::gca(), "YLabel"));
}

}  // namespace

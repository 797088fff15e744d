#include <gtest/gtest.h>

#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "tables/calc_wheel.h"
#include "tables_fixture.h"

namespace {

using rt::Value;

class Wheel : public tables_test::TablesTest {
protected:
    void open_calculator() { click_label(de().wheel_perim); }
    void calculate() { press("Wheel Figure", de().accept); }
};

TEST(TireCircumference, SidewallsAndRimInMetres) {
    EXPECT_NEAR(tables::tire_circumference(130, 70, 10), 1.36973, 1e-5);
    EXPECT_NEAR(tables::tire_circumference(130, 70, 13.5), 1.64902, 1e-5);
    EXPECT_NEAR(tables::tire_circumference(0, 0, 1 / 2.54), 3.14159e-2, 1e-7);
}

TEST_F(Wheel, DefaultsAndADecimalCommaFillTheTireCircumference) {
    start();
    open_calculator();
    EXPECT_EQ(text("TireWidth"), "130");
    EXPECT_EQ(text("TireAR"), "70");
    EXPECT_EQ(text("TireWS"), "10");
    calculate();
    EXPECT_EQ(text("wheel_perim"), "1.3697");
    type("TireWS", "13,5");
    calculate();
    EXPECT_EQ(text("wheel_perim"), "1.649");
    EXPECT_TRUE(window_open("Wheel Figure"));  // stays open for the next try
}

TEST_F(Wheel, TheStripLiesAcrossTheUpperPartOfTheMainWindow) {
    start();
    const std::vector<double> g = prop("Main Figure", "Position").real();
    open_calculator();
    const std::vector<double> w = prop("Wheel Figure", "Position").real();
    const double expect[4] = {g[0] - 0.05 * g[2], g[1] + 0.8 * g[3], 0.85 * g[2], 0.1 * g[3]};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(w[i], expect[i], 1e-9) << i;
    EXPECT_EQ(rt::utf8(prop("Wheel Figure", "Name").text16()), "Reifenumfang Rechner");
    EXPECT_EQ(prop("TireWidth", "TooltipString").text(), "Reifenbreite [mm]");
}

TEST_F(Wheel, ASecondPressMakesTheWindowCurrentWithoutResettingIt) {
    start();
    open_calculator();
    const double wfig = shell::tagged("Wheel Figure").scalar();
    type("TireWidth", "120");
    rt::figure({shell::tagged("Main Figure")});
    open_calculator();
    EXPECT_EQ(shell::tagged("Wheel Figure").numel(), 1u);
    EXPECT_EQ(rt::graphics().currentFigure(), wfig);
    EXPECT_EQ(text("TireWidth"), "120");
}

TEST_F(Wheel, AFieldWithoutANumberIsNamedAndLeavesTheCircumferenceAlone) {
    start();
    open_calculator();
    for (const char* bad : {"", "abc", "1 2"}) {
        type("TireAR", bad);
        dialogs_.expectError();
        calculate();
        EXPECT_EQ(text("wheel_perim"), "1.325") << bad;
        EXPECT_NE(last_dialog().find("Verhältnis"), std::string::npos) << last_dialog();
    }
}

}  // namespace

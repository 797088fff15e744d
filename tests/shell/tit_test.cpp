#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "support/shell_fixture.h"

using shell_test::ShellTest;

TEST_F(ShellTest, TitSetsABoldTitleOfTheCurrentAxes) {
    rt::figure();
    rt::Handle ax = rt::axes();
    interp_->eval("tit('Lauf 1')");
    rt::Value title = rt::get(rt::Value(ax), "Title");
    EXPECT_EQ(rt::get(title, "String").text(), "Lauf 1");
    EXPECT_EQ(rt::get(title, "FontWeight").text(), "bold");
    EXPECT_EQ(rt::get(title, "FontSize").scalar(), 12);
    interp_->eval("tit('Lauf 2', 16)");
    EXPECT_EQ(rt::get(title, "FontSize").scalar(), 16);
    EXPECT_THROW(table_.call("tit", {rt::Value("a"), rt::Value(1.0), rt::Value(2.0)}, 0),
                 rt::Error);
}

// The one axis table against the lists every build shows: as many rows as choices, and in each
// row the units of its quantities where the diagram reads them.
#include "shell/axis_choices.h"

#include <gtest/gtest.h>

#include "support/shell_test_support.h"

namespace {

using shell::AxisChoice;

// The French rows call the metric horsepower "CV" (cheval-vapeur).
std::u16string unit_in(const char* build, shell::Quantity q) {
    if (std::string(build) == "fr" && q == shell::Quantity::PowerPS) return u"CV";
    return std::u16string(shell::unit_of(q));
}

void expect_rows(const char* build, const shell::TextList& list, const auto& choices) {
    ASSERT_EQ(list.rows.size(), choices.size());
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const AxisChoice& c = choices[i];
        const std::u16string& row = list.rows[i];
        SCOPED_TRACE("row " + std::to_string(i + 1));
        // The maxima texts take the units in order; no unit beyond the quantities.
        std::vector<shell::Quantity> quantities{c.first};
        if (c.second) quantities.push_back(*c.second);
        for (std::size_t q = 0; q < quantities.size(); ++q)
            EXPECT_EQ(shell::row_unit(row, static_cast<int>(q) + 1), unit_in(build, quantities[q]));
        EXPECT_EQ(shell::row_unit(row, static_cast<int>(quantities.size()) + 1), u"");
        if (!c.second) continue;
        // The second scale is labelled with the part after the first "/".
        const auto [left, right] = shell::split_row(row);
        ASSERT_TRUE(right);
        EXPECT_EQ(shell::row_unit(left, 1), unit_in(build, c.first));
        EXPECT_EQ(shell::row_unit(left, 2), u"");
        EXPECT_EQ(shell::row_unit(*right, 1), unit_in(build, *c.second));
    }
}

}  // namespace

TEST(AxisChoices, EveryBuildsListsNameTheQuantitiesOfTheirChoicesInTheirUnits) {
    for (const shell_test::Build& b : shell_test::kBuilds) {
        SCOPED_TRACE(b.name);
        {
            SCOPED_TRACE("x");
            expect_rows(b.name, b.table().popup_xaxis, shell::kXAxis);
        }
        {
            SCOPED_TRACE("y");
            expect_rows(b.name, b.table().popup_yaxis, shell::kYAxis);
        }
    }
}

// The quantities the diagram's axes can show, one row per choice of the main window's x and y
// lists. The evaluation picks its curves by it, the diagram its units and second scale from
// the rows' texts as it describes them; the text tables' lists are checked against it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

enum class Quantity {
    EngineSpeed,
    Time,
    Distance,
    Speed,
    PowerPS,
    PowerKW,
    Torque,
    Acceleration,
    GearRatio
};

// The unit the evaluation gives a quantity's values in, as the lists write it in brackets.
std::u16string_view unit_of(Quantity q);

// One choice of a list: one quantity, or for a y choice two, the second drawn at half scale
// against a second scale. Its row in a text table names each with its unit in brackets, the
// two parted by a "/" between the first unit and the second name.
struct AxisChoice {
    Quantity first;
    std::optional<Quantity> second;
};

extern const std::array<AxisChoice, 4> kXAxis;
extern const std::array<AxisChoice, 11> kYAxis;

// The choice at a list row (from 1); nullptr outside the list.
const AxisChoice* x_choice(int xv);
const AxisChoice* y_choice(int yv);

// The unit of quantity `which` (from 1) of a list row: the text between its which-th "[" and
// which-th "]", "" when there is none.
std::u16string row_unit(const std::u16string& row, int which);

// A two-quantity row parted at its first "/": the first name with its unit, and the rest;
// nullopt for the rest when the row holds no "/".
std::pair<std::u16string, std::optional<std::u16string>> split_row(const std::u16string& row);

}  // namespace shell

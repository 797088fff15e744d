#include "shell/axis_choices.h"

namespace shell {

namespace {
using enum Quantity;
}  // namespace

std::u16string_view unit_of(Quantity q) {
    switch (q) {
        case EngineSpeed:
            return u"1/min";
        case Time:
            return u"s";
        case Distance:
            return u"m";
        case Speed:
            return u"km/h";
        case PowerPS:
            return u"PS";
        case PowerKW:
            return u"kW";
        case Torque:
            return u"Nm";
        case Acceleration:
            return u"m/s²";
        case GearRatio:
            return u"1/1";
    }
    return u"";
}

const std::array<AxisChoice, 4> kXAxis{
    {{EngineSpeed, {}}, {Time, {}}, {Distance, {}}, {Speed, {}}}};

const std::array<AxisChoice, 11> kYAxis{{{PowerPS, Torque},
                                         {PowerKW, Torque},
                                         {PowerPS, {}},
                                         {PowerKW, {}},
                                         {Torque, {}},
                                         {Speed, {}},
                                         {Acceleration, {}},
                                         {Time, {}},
                                         {Distance, {}},
                                         {EngineSpeed, {}},
                                         {GearRatio, {}}}};

namespace {
template <std::size_t N>
const AxisChoice* choice(const std::array<AxisChoice, N>& list, int row) {
    if (row < 1 || row > static_cast<int>(N)) return nullptr;
    return &list[static_cast<std::size_t>(row - 1)];
}
}  // namespace

const AxisChoice* x_choice(int xv) { return choice(kXAxis, xv); }
const AxisChoice* y_choice(int yv) { return choice(kYAxis, yv); }

std::u16string row_unit(const std::u16string& row, int which) {
    std::size_t open = std::u16string::npos, close = std::u16string::npos;
    for (int i = 0; i < which; ++i) {
        open = row.find(u'[', open == std::u16string::npos ? 0 : open + 1);
        close = row.find(u']', close == std::u16string::npos ? 0 : close + 1);
        if (open == std::u16string::npos || close == std::u16string::npos) return u"";
    }
    return close > open ? row.substr(open + 1, close - open - 1) : u"";
}

std::pair<std::u16string, std::optional<std::u16string>> split_row(const std::u16string& row) {
    const std::size_t slash = row.find(u'/');
    if (slash == std::u16string::npos) return {row, std::nullopt};
    return {row.substr(0, slash), row.substr(slash + 1)};
}

}  // namespace shell

#include "shell/adj_par.h"

#include <cmath>

#include "runtime/dispatch/error.h"
#include "shell/panel.h"
#include "shell/strings.h"

namespace shell {

namespace {

// The code sum of a row's first five characters; the rows are blank-padded, so blanks count.
double key_of(const rt::Value& list, std::size_t row) {
    std::u16string r = list.rowText(row);
    double sum = 0;
    for (std::size_t i = 0; i < 5 && i < r.size(); ++i) sum += r[i];
    return sum;
}

struct TypeRule {
    const char* list;    // text-table field of the channel-2 list
    double default_row;  // when no row matches
    int drum_row;        // channel-2 row that means a drum; 0 never, -1 always
};

const TypeRule kRules[5] = {{"popup_sig1", 1, 3},
                            {"popup_sig2", 2, 0},
                            {"popup_sig3", 2, -1},
                            {"popup_sig4", 3, 2},
                            {"popup_sig", 1, 3}};

}  // namespace

void adj_par() {
    const Strings& s = text_table();
    const rt::Value st = to_value(s);
    const double v = value_of("popup_sig_ch1");
    const double w = value_of("popup_sig_ch2");

    rt::Value current = get_tagged("popup_sig_ch2", "String");
    if (current.isCell()) current = current.cellAt(0);
    const int type = static_cast<int>(v);
    if (type < 1 || type > 5 || w < 1 || w > static_cast<double>(current.rows()))
        rt::error("Index exceeds matrix dimensions.");
    const double key = key_of(current, static_cast<std::size_t>(w) - 1);

    const TypeRule& rule = kRules[type - 1];
    const rt::Value list = st.field(rule.list);
    double row = rule.default_row;
    for (std::size_t i = 0; i < list.rows(); ++i) {
        if (key_of(list, i) == key) {
            row = static_cast<double>(i + 1);
            break;
        }
    }
    set_tagged("popup_sig_ch2", "String", list);
    set_tagged("popup_sig_ch2", "Value", rt::Value(row));

    const bool drum = rule.drum_row < 0 || (rule.drum_row > 0 && row == rule.drum_row);
    const rt::Value visible(drum ? "on" : "off");
    for (const char* tag : {"total_tork_txt", "total_tork", "cylin_perim_txt", "cylin_perim"})
        set_tagged(tag, "Visible", visible);
    set_tagged("wheel_sens_txt", "String", rt::Value(drum ? s.roll_sens : s.wheel_sens));
}

void register_adj_par(rt::FunctionTable& table) {
    table.add("adj_par", 0, 0, [](const rt::Values&, int) {
        adj_par();
        return rt::Values{};
    });
}

}  // namespace shell

#include "shell/adj_par.h"

#include <algorithm>

#include "runtime/dispatch/error.h"
#include "shell/channel_lists.h"
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

}  // namespace

void adj_par() {
    const Strings& s = text_table();
    const double v = value_of("popup_sig_ch1");
    const double w = value_of("popup_sig_ch2");

    rt::Value current = get_tagged("popup_sig_ch2", "String");
    if (current.isCell()) current = current.cellAt(0);
    const int type = static_cast<int>(v);
    const ChannelList* list_of_type = channel_list(type);
    if (!list_of_type || w < 1 || w > static_cast<double>(current.rows()))
        rt::error("Index exceeds matrix dimensions.");
    const double key = key_of(current, static_cast<std::size_t>(w) - 1);

    const ChannelList& rule = *list_of_type;
    const rt::Value list = to_value(s.*rule.texts);
    const auto fallback = std::find(rule.rows.begin(), rule.rows.end(), rule.fallback);
    double row = static_cast<double>(fallback - rule.rows.begin() + 1);
    for (std::size_t i = 0; i < list.rows(); ++i) {
        if (key_of(list, i) == key) {
            row = static_cast<double>(i + 1);
            break;
        }
    }
    set_tagged("popup_sig_ch2", "String", list);
    set_tagged("popup_sig_ch2", "Value", rt::Value(row));

    const bool drum = drum_on_a_channel(type, static_cast<int>(row));
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

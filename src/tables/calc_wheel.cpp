#include "tables/calc_wheel.h"

#include <cmath>
#include <numbers>

#include "runtime/host.h"
#include "runtime/value/num2str.h"
#include "runtime/value/str2num.h"
#include "runtime/value/text_ops.h"
#include "shell/panel.h"
#include "shell/strings.h"

namespace tables {

double tire_circumference(double tw, double ar, double ws) {
    const double sidewalls_cm = 2 * tw * ar / 1000;
    return (ws * 2.54 + sidewalls_cm) * std::numbers::pi / 100;
}

void calc_wheel() {
    const shell::Strings& st = shell::text_table();
    struct Field {
        const char* tag;
        const std::u16string& label;
    };
    const Field fields[] = {
        {"TireWidth", st.Wtirewidth}, {"TireAR", st.Waspectrat}, {"TireWS", st.Wwheelsize}};
    double x[3];
    for (int i = 0; i < 3; ++i) {
        const std::u16string text = rt::strrep(shell::string_of(fields[i].tag), u",", u".");
        const rt::Value v = rt::str2num(text);
        if (v.numel() != 1 || v.isComplex() || !std::isfinite(v.scalar())) {
            rt::errordlg(rt::utf8(st.error_num2s + fields[i].label + u": " + text));
            return;
        }
        x[i] = v.scalar();
    }
    shell::set_tagged("wheel_perim", "String",
                      rt::Value(rt::num2str(tire_circumference(x[0], x[1], x[2]))));
}

void register_calc_wheel(rt::FunctionTable& table) {
    table.add("calc_wheel", 0, 0, [](const rt::Values&, int) {
        calc_wheel();
        return rt::Values{};
    });
}

}  // namespace tables

#include "shell/set_sdiag_color.h"

#include "runtime/host.h"
#include "runtime/value/eigen.h"
#include "shell/panel.h"

namespace shell {

void set_sdiag_color() {
    std::vector<double> c = rt::toVector(get_tagged("set_sdiag_color", "BackgroundColor"));
    rt::Rgb initial{0, 0, 1};
    for (std::size_t i = 0; i < 3 && i < c.size(); ++i) initial[i] = c[i];
    if (auto chosen = rt::uisetcolor(initial))
        set_tagged("set_sdiag_color", "BackgroundColor",
                   rt::Value::row({(*chosen)[0], (*chosen)[1], (*chosen)[2]}));
}

void register_set_sdiag_color(rt::FunctionTable& table) {
    table.add("set_sdiag_color", 0, 0, [](const rt::Values&, int) {
        set_sdiag_color();
        return rt::Values{};
    });
}

}  // namespace shell

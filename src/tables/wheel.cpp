#include "tables/wheel.h"

#include <array>

#include "runtime/graphics/operations.h"
#include "shell/strings.h"

namespace tables {

namespace {
using rt::Value;
using rt::Values;
}  // namespace

void wheel() {
    const shell::Strings& st = shell::text_table();
    rt::Graphics& g = rt::graphics();
    const auto open = g.withTag(u"Wheel Figure");
    if (!open.empty()) {
        rt::figure({Value(open.front())});
        return;
    }
    Values pairs{Value("NumberTitle"), Value("off"), Value("Name"),
                 Value(st.Wwheelcalc), Value("Tag"), Value("Wheel Figure"),
                 Value("MenuBar"),     Value("none")};
    const auto main = g.withTag(u"Main Figure");
    if (!main.empty()) {
        const std::vector<double> p = g.get(main.front(), "Position").real();
        pairs.insert(
            pairs.end(),
            {Value("Units"), g.get(main.front(), "Units"), Value("Position"),
             Value::row({p[0] - 0.05 * p[2], p[1] + 0.8 * p[3], 0.85 * p[2], 0.1 * p[3]})});
    }
    const rt::Handle fig = rt::figure(pairs);

    auto control = [&](const char* style, const std::array<double, 4>& pos, const char* tag,
                       const Value& string, Values more = {}) {
        Values args{Value("Parent"),   Value(fig),
                    Value("Style"),    Value(style),
                    Value("Position"), Value::row({pos[0], pos[1], pos[2], pos[3]}),
                    Value("String"),   string};
        if (*tag) args.insert(args.end(), {Value("Tag"), Value(tag)});
        if (std::string(style) != "Push")
            args.insert(args.end(), {Value("HorizontalAlignment"), Value("center")});
        args.insert(args.end(), more.begin(), more.end());
        rt::uicontrol(args);
    };
    auto tip = [](const std::u16string& label, const char16_t* unit) {
        return Values{Value("TooltipString"), Value(label + unit)};
    };
    control("text", {0.05, 0.55, 0.17, 0.4}, "TireWidthTxT", Value(st.Wtirewidth));
    control("edit", {0.05, 0.1, 0.17, 0.4}, "TireWidth", Value("130"),
            tip(st.Wtirewidth, u" [mm]"));
    control("text", {0.2225, 0.55, 0.025, 0.4}, "Tire/TxT", Value("/"));
    control("text", {0.2225, 0.1, 0.025, 0.4}, "Tire/", Value("/"));
    control("text", {0.25, 0.55, 0.17, 0.4}, "TireARTxT", Value(st.Waspectrat));
    control("edit", {0.25, 0.1, 0.17, 0.4}, "TireAR", Value("70"), tip(st.Waspectrat, u" [%]"));
    control("text", {0.44, 0.55, 0.05, 0.4}, "TireRTxT", Value("R"));
    control("text", {0.44, 0.1, 0.05, 0.4}, "TireR", Value("R"));
    control("text", {0.49, 0.55, 0.17, 0.4}, "TireWSTxT", Value(st.Wwheelsize));
    control("edit", {0.49, 0.1, 0.17, 0.4}, "TireWS", Value("10"), tip(st.Wwheelsize, u" [inch]"));
    control("Push", {0.7, 0.1, 0.25, 0.4}, "", Value(st.accept),
            {Value("Callback"), Value("calc_wheel")});
    control("Push", {0.7, 0.55, 0.25, 0.4}, "", Value(st.Wwheellist),
            {Value("Callback"), Value("wheel_tab")});
}

void register_wheel(rt::FunctionTable& table) {
    table.add("wheel", 0, 0, [](const rt::Values&, int) {
        wheel();
        return rt::Values{};
    });
}

}  // namespace tables

#include "tables/wheel.h"

#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "shell/strings.h"

namespace tables {

void wheel() {
    const shell::Strings& st = shell::text_table();
    rt::Graphics& g = rt::graphics();
    const auto open = g.withTag(u"Wheel Figure");
    if (!open.empty()) {
        rt::figure({rt::Value(open.front())});
        return;
    }
    rt::Props props{{"NumberTitle", "off"},
                    {"Name", st.Wwheelcalc},
                    {"Tag", "Wheel Figure"},
                    {"MenuBar", "none"}};
    const auto main = g.withTag(u"Main Figure");
    if (!main.empty()) {
        const std::vector<double> p = rt::get(main.front(), "Position").real();
        props.push_back({"Units", rt::get(main.front(), "Units")});
        props.push_back(
            {"Position", {p[0] - 0.05 * p[2], p[1] + 0.8 * p[3], 0.85 * p[2], 0.1 * p[3]}});
    }
    const rt::Handle fig = rt::makeFigure(props);

    const rt::Prop center{"HorizontalAlignment", "center"};
    auto text = [&](const rt::Rect& pos, const char* tag, const rt::Value& string) {
        rt::makeControl(fig, "text", pos, {{"Tag", tag}, {"String", string}, center});
    };
    auto edit = [&](const rt::Rect& pos, const char* tag, const char* value,
                    const std::u16string& tip) {
        rt::makeControl(fig, "edit", pos,
                        {{"Tag", tag}, {"String", value}, center, {"TooltipString", tip}});
    };
    text({0.05, 0.55, 0.17, 0.4}, "TireWidthTxT", st.Wtirewidth);
    edit({0.05, 0.1, 0.17, 0.4}, "TireWidth", "130", st.Wtirewidth + u" [mm]");
    text({0.2225, 0.55, 0.025, 0.4}, "Tire/TxT", "/");
    text({0.2225, 0.1, 0.025, 0.4}, "Tire/", "/");
    text({0.25, 0.55, 0.17, 0.4}, "TireARTxT", st.Waspectrat);
    edit({0.25, 0.1, 0.17, 0.4}, "TireAR", "70", st.Waspectrat + u" [%]");
    text({0.44, 0.55, 0.05, 0.4}, "TireRTxT", "R");
    text({0.44, 0.1, 0.05, 0.4}, "TireR", "R");
    text({0.49, 0.55, 0.17, 0.4}, "TireWSTxT", st.Wwheelsize);
    edit({0.49, 0.1, 0.17, 0.4}, "TireWS", "10", st.Wwheelsize + u" [inch]");
    rt::makeControl(fig, "Push", {0.7, 0.1, 0.25, 0.4},
                    {{"String", st.accept}, {"Callback", "calc_wheel"}});
    rt::makeControl(fig, "Push", {0.7, 0.55, 0.25, 0.4},
                    {{"String", st.Wwheellist}, {"Callback", "wheel_tab"}});
}

void register_wheel(rt::FunctionTable& table) {
    table.add("wheel", 0, 0, [](const rt::Values&, int) {
        wheel();
        return rt::Values{};
    });
}

}  // namespace tables

#include "shell/uicontrols_main.h"

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "shell/strings.h"

namespace shell {

namespace {

rt::Prop tag(const char* t) { return {"Tag", t}; }
rt::Prop callback(const char* cb) { return {"Callback", cb}; }
const rt::Prop left{"HorizontalAlignment", "left"};
const rt::Prop right{"HorizontalAlignment", "right"};
const rt::Prop center{"HorizontalAlignment", "center"};

}  // namespace

void uicontrols_main(rt::Handle fig) {
    using rt::makeControl;
    const Strings& s = text_table();
    const rt::Value st = to_value(s);
    auto list = [&](const char* field) { return rt::Prop{"String", st.field(field)}; };

    // Recording group.
    makeControl(fig, "frame", {0.03, 0.58, 0.43, 0.38});
    makeControl(fig, "text", {0.035, 0.91, 0.33, 0.03}, {{"String", s.wav_files}, left});
    makeControl(fig, "edit", {0.035, 0.85, 0.365, 0.05}, {tag("wav_file"), right});
    makeControl(fig, "pushbutton", {0.41, 0.85, 0.04, 0.05},
                {{"String", s.get_file}, callback("get_wav_filename;")});
    makeControl(fig, "checkbox", {0.035, 0.8, 0.415, 0.05},
                {tag("cut_File"), {"String", s.cut_File}, {"Value", 1}});
    makeControl(fig, "checkbox", {0.035, 0.75, 0.415, 0.05},
                {tag("add_wav_to_comment"), {"String", s.add_wav}, {"Value", 0}});

    // Parameter panel and channel strip.
    makeControl(fig, "frame", {0.03, 0.04, 0.94, 0.53});
    makeControl(fig, "frame", {0.03, 0.51, 0.94, 0.07});
    makeControl(fig, "text", {0.04, 0.53, 0.15, 0.03}, {{"String", s.frame_ch1}, right});
    makeControl(fig, "popupmenu", {0.2, 0.52, 0.28, 0.05},
                {tag("popup_sig_ch1"), list("popup_sig"), left, {"Value", 1}, callback("adj_par")});
    makeControl(fig, "text", {0.5, 0.53, 0.15, 0.03}, {{"String", s.frame_ch2}, right});
    makeControl(fig, "popupmenu", {0.66, 0.52, 0.3, 0.05},
                {tag("popup_sig_ch2"), list("popup_sig"), left, {"Value", 1}, callback("adj_par")});

    // A label (Tag <field>_txt) at bottom + 0.01 and its field at bottom.
    auto field = [&](const char* t, const std::u16string& label, const char* value, double x,
                     double x2, double bottom) {
        const std::string label_tag = std::string(t) + "_txt";
        makeControl(fig, "text", {x, bottom + 0.01, 0.29, 0.03},
                    {tag(label_tag.c_str()), {"String", label}, right});
        makeControl(fig, "edit", {x2, bottom, 0.105, 0.05}, {tag(t), {"String", value}, center});
    };
    // A button in place of a label, beside its field.
    auto buttonField = [&](const std::u16string& label, const char* cb, const char* t,
                           const char* value, double bottom) {
        makeControl(fig, "pushbutton", {0.04, bottom, 0.29, 0.05},
                    {{"String", label}, right, callback(cb)});
        makeControl(fig, "edit", {0.35, bottom, 0.105, 0.05}, {tag(t), {"String", value}, center});
    };

    // Left column.
    field("total_mass", s.total_mass, "200.0", 0.04, 0.35, 0.45);
    field("cw_value", s.cw_value, "0.5", 0.04, 0.35, 0.40);
    field("frontal_area", s.frontalA, "0.75", 0.04, 0.35, 0.35);
    field("fro_value", s.fro_value, "0.015", 0.04, 0.35, 0.30);
    buttonField(s.gear_ratio, "gearing_tab", "gear_ratio", "6.32", 0.25);
    buttonField(s.wheel_perim, "wheel", "wheel_perim", "1.325", 0.2);
    makeControl(fig, "text", {0.04, 0.16, 0.29, 0.03}, {{"String", s.filt_length}, right});
    makeControl(fig, "edit", {0.35, 0.15, 0.105, 0.05},
                {tag("filt_length"), {"String", "1"}, center});
    field("lima", s.lima, "3", 0.04, 0.35, 0.10);
    field("wheel_sens", s.wheel_sens, "1", 0.04, 0.35, 0.05);

    // Right column.
    field("air_temp", s.air_temp, "20", 0.54, 0.85, 0.45);
    field("air_pres", s.air_pres, "1013", 0.54, 0.85, 0.40);
    field("total_tork", s.total_tork, "1.08", 0.54, 0.85, 0.35);
    field("cylin_perim", s.cylin_perim, "0.9321", 0.54, 0.85, 0.30);
    field("min_rpm", s.min_rpm, "500", 0.54, 0.85, 0.25);
    field("max_rpm", s.max_rpm, "16000", 0.54, 0.85, 0.20);
    makeControl(fig, "checkbox", {0.54, 0.1, 0.415, 0.05},
                {tag("add_par_to_comment"), {"String", s.add_par}, {"Value", 0}});
    makeControl(fig, "pushbutton", {0.54, 0.05, 0.2025, 0.05},
                {{"String", s.load}, callback("load_par")});
    makeControl(fig, "pushbutton", {0.7525, 0.05, 0.2025, 0.05},
                {{"String", s.save}, callback("save_par")});

    // Diagram group.
    makeControl(fig, "frame", {0.5, 0.58, 0.47, 0.38});
    makeControl(fig, "pushbutton", {0.505, 0.9, 0.375, 0.05},
                {{"String", s.push_sdiag}, callback("calc_diag")});
    makeControl(fig, "pushbutton", {0.89, 0.9, 0.07, 0.05},
                {tag("set_sdiag_color"),
                 {"String", s.set_color},
                 callback("set_sdiag_color"),
                 {"BackgroundColor", {0, 0, 1}},
                 {"ForegroundColor", {1, 1, 1}}});
    makeControl(fig, "checkbox", {0.505, 0.85, 0.455, 0.05},
                {tag("cut_Vmax"), {"String", s.cut_Vmax}, {"Value", 1}});
    makeControl(fig, "pushbutton", {0.505, 0.8, 0.455, 0.05},
                {tag("clear_cach"), {"String", s.clear_cache}, callback("clear_cache")});
    makeControl(fig, "edit", {0.505, 0.75, 0.455, 0.05},
                {tag("comment_spect_diag"), {"String", s.comment}, left});
    rt::Props title{tag("title_txt"), left};
    const rt::Value main_fig = rt::findobj({"Tag", "Main Figure"});
    if (!main_fig.isEmpty()) title.push_back({"String", rt::get(main_fig, "Name")});
    makeControl(fig, "edit", {0.505, 0.7, 0.455, 0.05}, title);
    makeControl(fig, "frame", {0.505, 0.59, 0.1865, 0.1});
    makeControl(fig, "text", {0.51, 0.65, 0.1765, 0.03}, {{"String", s.frame_xaxis}, left});
    makeControl(fig, "popupmenu", {0.51, 0.6, 0.1765, 0.05},
                {tag("popup_xaxis"), list("popup_xaxis"), left, {"Value", 1}});
    makeControl(fig, "frame", {0.7, 0.59, 0.2665, 0.1});
    makeControl(fig, "text", {0.705, 0.65, 0.2565, 0.03}, {{"String", s.frame_yaxis}, left});
    makeControl(fig, "popupmenu", {0.705, 0.6, 0.2565, 0.05},
                {tag("popup_yaxis"), list("popup_yaxis"), left, {"Value", 1}});
}

void register_uicontrols_main(rt::FunctionTable& table) {
    table.add("uicontrols_main", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        uicontrols_main(in[0].scalar());
        return rt::Values{};
    });
}

}  // namespace shell

#include "shell/uicontrols_main.h"

#include <array>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "shell/strings.h"

namespace shell {

namespace {

using Pos = std::array<double, 4>;

class Builder {
public:
    explicit Builder(rt::Handle fig) : fig_(fig) {}

    // One control: style, Tag ("" for none), String (empty value for none), position,
    // HorizontalAlignment ("" keeps the default), then further pairs.
    void add(const char* style, const char* tag, const rt::Value& string, const Pos& pos,
             const char* align = "", rt::Values more = {}) {
        rt::Values pairs{rt::Value("Parent"),   rt::Value(fig_),
                         rt::Value("Style"),    rt::Value(style),
                         rt::Value("Position"), rt::Value::row({pos[0], pos[1], pos[2], pos[3]})};
        if (*tag) append(pairs, "Tag", rt::Value(tag));
        if (!string.isEmpty()) append(pairs, "String", string);
        if (*align) append(pairs, "HorizontalAlignment", rt::Value(align));
        if (std::string(style) == "popupmenu") append(pairs, "Value", rt::Value(1.0));
        pairs.insert(pairs.end(), more.begin(), more.end());
        rt::uicontrol(pairs);
    }

private:
    static void append(rt::Values& pairs, const char* name, const rt::Value& v) {
        pairs.push_back(rt::Value(name));
        pairs.push_back(v);
    }
    rt::Handle fig_;
};

rt::Value text(const std::u16string& s) { return rt::Value(s); }

rt::Value list(const rt::Value& st, const char* field) { return st.field(field); }

rt::Values callback(const char* cb) { return {rt::Value("Callback"), rt::Value(cb)}; }

}  // namespace

void uicontrols_main(rt::Handle fig) {
    const Strings& s = text_table();
    const rt::Value st = to_value(s);
    Builder b(fig);
    const rt::Value none;

    // Recording group.
    b.add("frame", "", none, {0.03, 0.58, 0.43, 0.38});
    b.add("text", "", text(s.wav_files), {0.035, 0.91, 0.33, 0.03}, "left");
    b.add("edit", "wav_file", none, {0.035, 0.85, 0.365, 0.05}, "right");
    b.add("pushbutton", "", text(s.get_file), {0.41, 0.85, 0.04, 0.05}, "",
          callback("get_wav_filename;"));
    b.add("checkbox", "cut_File", text(s.cut_File), {0.035, 0.8, 0.415, 0.05}, "",
          {rt::Value("Value"), rt::Value(1.0)});
    b.add("checkbox", "add_wav_to_comment", text(s.add_wav), {0.035, 0.75, 0.415, 0.05}, "",
          {rt::Value("Value"), rt::Value(0.0)});

    // Parameter panel and channel strip.
    b.add("frame", "", none, {0.03, 0.04, 0.94, 0.53});
    b.add("frame", "", none, {0.03, 0.51, 0.94, 0.07});
    b.add("text", "", text(s.frame_ch1), {0.04, 0.53, 0.15, 0.03}, "right");
    b.add("popupmenu", "popup_sig_ch1", list(st, "popup_sig"), {0.2, 0.52, 0.28, 0.05}, "left",
          callback("adj_par"));
    b.add("text", "", text(s.frame_ch2), {0.5, 0.53, 0.15, 0.03}, "right");
    b.add("popupmenu", "popup_sig_ch2", list(st, "popup_sig"), {0.66, 0.52, 0.3, 0.05}, "left",
          callback("adj_par"));

    // Left column: label at b + 0.01 (text) or b (button), field at b.
    auto field = [&](const char* tag, const std::u16string& label, const char* value, double x,
                     double x2, double bottom) {
        std::string label_tag = std::string(tag) + "_txt";
        b.add("text", label_tag.c_str(), text(label), {x, bottom + 0.01, 0.29, 0.03}, "right");
        b.add("edit", tag, rt::Value(value), {x2, bottom, 0.105, 0.05}, "center");
    };
    field("total_mass", s.total_mass, "200.0", 0.04, 0.35, 0.45);
    field("cw_value", s.cw_value, "0.5", 0.04, 0.35, 0.40);
    field("frontal_area", s.frontalA, "0.75", 0.04, 0.35, 0.35);
    field("fro_value", s.fro_value, "0.015", 0.04, 0.35, 0.30);
    b.add("pushbutton", "", text(s.gear_ratio), {0.04, 0.25, 0.29, 0.05}, "right",
          callback("gearing_tab"));
    b.add("edit", "gear_ratio", rt::Value("6.32"), {0.35, 0.25, 0.105, 0.05}, "center");
    b.add("pushbutton", "", text(s.wheel_perim), {0.04, 0.2, 0.29, 0.05}, "right",
          callback("wheel"));
    b.add("edit", "wheel_perim", rt::Value("1.325"), {0.35, 0.2, 0.105, 0.05}, "center");
    b.add("text", "", text(s.filt_length), {0.04, 0.16, 0.29, 0.03}, "right");
    b.add("edit", "filt_length", rt::Value("1"), {0.35, 0.15, 0.105, 0.05}, "center");
    field("lima", s.lima, "3", 0.04, 0.35, 0.10);
    field("wheel_sens", s.wheel_sens, "1", 0.04, 0.35, 0.05);

    // Right column.
    field("air_temp", s.air_temp, "20", 0.54, 0.85, 0.45);
    field("air_pres", s.air_pres, "1013", 0.54, 0.85, 0.40);
    field("total_tork", s.total_tork, "1.08", 0.54, 0.85, 0.35);
    field("cylin_perim", s.cylin_perim, "0.9321", 0.54, 0.85, 0.30);
    field("min_rpm", s.min_rpm, "500", 0.54, 0.85, 0.25);
    field("max_rpm", s.max_rpm, "16000", 0.54, 0.85, 0.20);
    b.add("checkbox", "add_par_to_comment", text(s.add_par), {0.54, 0.1, 0.415, 0.05}, "",
          {rt::Value("Value"), rt::Value(0.0)});
    b.add("pushbutton", "", text(s.load), {0.54, 0.05, 0.2025, 0.05}, "", callback("load_par"));
    b.add("pushbutton", "", text(s.save), {0.7525, 0.05, 0.2025, 0.05}, "", callback("save_par"));

    // Diagram group.
    b.add("frame", "", none, {0.5, 0.58, 0.47, 0.38});
    b.add("pushbutton", "", text(s.push_sdiag), {0.505, 0.9, 0.375, 0.05}, "",
          callback("calc_diag"));
    b.add("pushbutton", "set_sdiag_color", text(s.set_color), {0.89, 0.9, 0.07, 0.05}, "",
          {rt::Value("Callback"), rt::Value("set_sdiag_color"), rt::Value("BackgroundColor"),
           rt::Value::row({0, 0, 1}), rt::Value("ForegroundColor"), rt::Value::row({1, 1, 1})});
    b.add("checkbox", "cut_Vmax", text(s.cut_Vmax), {0.505, 0.85, 0.455, 0.05}, "",
          {rt::Value("Value"), rt::Value(1.0)});
    b.add("pushbutton", "clear_cach", text(s.clear_cache), {0.505, 0.8, 0.455, 0.05}, "",
          callback("clear_cache"));
    b.add("edit", "comment_spect_diag", text(s.comment), {0.505, 0.75, 0.455, 0.05}, "left");
    rt::Value main_fig = rt::findobj({rt::Value("Tag"), rt::Value("Main Figure")});
    b.add("edit", "title_txt", main_fig.isEmpty() ? rt::Value("") : rt::get(main_fig, "Name"),
          {0.505, 0.7, 0.455, 0.05}, "left");
    b.add("frame", "", none, {0.505, 0.59, 0.1865, 0.1});
    b.add("text", "", text(s.frame_xaxis), {0.51, 0.65, 0.1765, 0.03}, "left");
    b.add("popupmenu", "popup_xaxis", list(st, "popup_xaxis"), {0.51, 0.6, 0.1765, 0.05}, "left");
    b.add("frame", "", none, {0.7, 0.59, 0.2665, 0.1});
    b.add("text", "", text(s.frame_yaxis), {0.705, 0.65, 0.2565, 0.03}, "left");
    b.add("popupmenu", "popup_yaxis", list(st, "popup_yaxis"), {0.705, 0.6, 0.2565, 0.05}, "left");
}

void register_uicontrols_main(rt::FunctionTable& table) {
    table.add("uicontrols_main", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        uicontrols_main(in[0].scalar());
        return rt::Values{};
    });
}

}  // namespace shell

#include "shell/get_par.h"

#include "runtime/host.h"
#include "runtime/value/str2num.h"
#include "runtime/value/text_ops.h"
#include "shell/panel.h"
#include "shell/strings.h"

namespace shell {

namespace {

using namespace par;

// One numeric field: false (after the dialog) when its text is no number.
bool read_number(ParSlots& out, par::Slot slot, const char* tag, const std::u16string& label,
                 const Strings& st) {
    std::u16string s = rt::strrep(string_of(tag), u",", u".");
    rt::Value x = rt::str2num(s);
    out[slot] = x;
    if (!x.isEmpty()) return true;
    rt::errordlg(rt::utf8(st.error_num2s + label + s));
    return false;
}

}  // namespace

ParSlots get_par(std::size_t count) {
    const Strings& st = text_table();
    ParSlots out;
    struct Numeric {
        par::Slot slot;
        const char* tag;
        const std::u16string& label;
    };
    const auto read = [&](const Numeric& f) {
        return static_cast<std::size_t>(f.slot) >= count ||
               read_number(out, f.slot, f.tag, f.label, st);
    };
    const Numeric first[] = {{m, "total_mass", st.total_mass},
                             {cw, "cw_value", st.cw_value},
                             {r, "gear_ratio", st.gear_ratio},
                             {u, "wheel_perim", st.wheel_perim},
                             {l, "lima", st.lima},
                             {fl, "filt_length", st.filt_length},
                             {J, "total_tork", st.total_tork},
                             {ur, "cylin_perim", st.cylin_perim}};
    for (const Numeric& f : first)
        if (!read(f)) return out;

    const std::pair<par::Slot, const char*> values[] = {
        {komment, "add_par_to_comment"}, {wav_kom, "add_wav_to_comment"},
        {cutvmax, "cut_Vmax"},           {sig_ch1, "popup_sig_ch1"},
        {sig_ch2, "popup_sig_ch2"},      {xaxis, "popup_xaxis"},
        {yaxis, "popup_yaxis"},          {cbh, "cut_File"}};
    for (const auto& [slot, tag] : values) out[slot] = get_tagged(tag, "Value");

    const Numeric second[] = {{A, "frontal_area", st.frontalA},
                              {W, "wheel_sens", st.wheel_sens},
                              {T, "air_temp", st.air_temp},
                              {P, "air_pres", st.air_pres}};
    for (const Numeric& f : second)
        if (!read(f)) return out;

    out[tit] = get_tagged("title_txt", "String");

    const Numeric third[] = {
        {mr, "min_rpm", st.min_rpm}, {Mr, "max_rpm", st.max_rpm}, {fro, "fro_value", st.fro_value}};
    for (const Numeric& f : third)
        if (!read(f)) return out;
    return out;
}

ParSlots read_par(std::size_t count) {
    ParSlots par = get_par(count);
    for (std::size_t i = 0; i < count; ++i)
        if (!par[i]) throw FieldNotANumber(rt::unassignedOutputMessage("get_par"));
    return par;
}

void register_get_par(rt::FunctionTable& table) {
    table.add("get_par", 0, 24, [](const rt::Values&, int nargout) {
        ParSlots slots = get_par();
        return rt::assignedOutputs("get_par", {slots.begin(), slots.end()}, nargout);
    });
}

}  // namespace shell

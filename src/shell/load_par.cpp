#include "shell/load_par.h"

#include <cmath>
#include <map>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/varfile.h"
#include "runtime/host.h"
#include "runtime/value/num2str.h"
#include "shell/adj_par.h"
#include "shell/axis_choices.h"
#include "shell/channel_lists.h"
#include "shell/panel.h"
#include "shell/strings.h"

namespace shell {

void load_par(const std::optional<std::string>& file) {
    const Strings& st = text_table();
    std::string path;
    if (file) {
        path = *file;
    } else {
        auto choice =
            rt::uigetfile({{"*.cfg", rt::utf8(st.cfg_file)}, {"*.*", rt::utf8(st.all_file)}},
                          rt::utf8(st.par_file));
        if (!choice) return;
        path = choice->folder + choice->name;
    }

    const std::string named = "\"" + path + "\" ";
    std::vector<rt::NamedValue> loaded;
    try {
        loaded = rt::load(path);
    } catch (const rt::Error& e) {
        rt::error(named + rt::utf8(st.par_unreadable) + "\n" + e.what());
    }
    std::map<std::string, rt::Value> vars;
    for (auto& nv : loaded) vars[nv.name] = std::move(nv.value);
    // Every name, kind and shape is checked before the panel changes, so a foreign or damaged
    // file leaves it as it was.
    for (const char* name :
         {"m", "cw",      "r",       "u",    "l",    "fl",    "J",      "ur",      "A",
          "W", "komment", "cutvmax", "sig1", "sig2", "xaxis", "yaxis",  "wav_kom", "T",
          "P", "tit",     "mr",      "Mr",   "cbh",  "fro",   "wavfile"}) {
        if (!vars.count(name)) rt::error(named + rt::utf8(st.par_no_var) + " " + name + ".");
    }
    auto refuse = [&](const char* var, const std::string& range) {
        rt::error(named + rt::utf8(st.par_bad_value) + " " + var + range + ".");
    };
    // What get_par can deliver for a field: anything str2num gives.
    for (const char* var :
         {"m", "cw", "r", "u", "l", "fl", "J", "ur", "A", "W", "T", "P", "mr", "Mr", "fro"}) {
        if (!vars[var].isDouble() && !vars[var].isLogical()) refuse(var, "");
    }
    // A box shows itself ticked at 1 only, while the evaluation takes any true value as
    // ticked: anything but 0 or 1 would act otherwise than it shows.
    for (const char* var : {"komment", "cutvmax", "wav_kom", "cbh"}) {
        const rt::Value& v = vars[var];
        if (!(v.isDouble() && !v.isComplex() && v.numel() == 1 &&
              (v.scalar() == 0 || v.scalar() == 1)))
            refuse(var, " (0-1)");
    }
    // A popup's Value outside its list leaves the popup unusable, and every later load fails
    // on it until the program restarts.
    auto need_row = [&](const char* var, std::size_t rows) {
        const rt::Value& v = vars[var];
        const double row = v.isNumeric() && v.numel() == 1 ? v.scalar() : 0;
        if (!(row >= 1 && row <= static_cast<double>(rows) && row == std::floor(row)))
            refuse(var, " (1-" + std::to_string(rows) + ")");
    };
    need_row("sig1", kChannelLists.size());
    need_row("sig2", channel_list(static_cast<int>(vars["sig1"].scalar()))->rows.size());
    need_row("xaxis", kXAxis.size());
    need_row("yaxis", kYAxis.size());
    for (const char* var : {"tit", "wavfile"}) {
        if (!vars[var].isChar() || vars[var].rows() > 1) refuse(var, "");
    }

    auto number = [&](const char* tag, const char* var) {
        set_tagged(tag, "String", rt::num2str(vars[var]));
    };
    auto value = [&](const char* tag, const char* var) { set_tagged(tag, "Value", vars[var]); };
    auto text = [&](const char* tag, const char* var) { set_tagged(tag, "String", vars[var]); };

    number("total_mass", "m");
    number("cw_value", "cw");
    number("gear_ratio", "r");
    number("wheel_perim", "u");
    number("lima", "l");
    number("filt_length", "fl");
    number("total_tork", "J");
    number("cylin_perim", "ur");
    value("add_par_to_comment", "komment");
    value("add_wav_to_comment", "wav_kom");
    value("cut_Vmax", "cutvmax");
    value("popup_xaxis", "xaxis");
    value("popup_yaxis", "yaxis");
    number("frontal_area", "A");
    number("wheel_sens", "W");
    value("popup_sig_ch1", "sig1");
    adj_par();
    value("popup_sig_ch2", "sig2");
    number("air_temp", "T");
    number("air_pres", "P");
    text("title_txt", "tit");
    number("min_rpm", "mr");
    number("max_rpm", "Mr");
    value("cut_File", "cbh");
    number("fro_value", "fro");
    text("wav_file", "wavfile");
}

void register_load_par(rt::FunctionTable& table) {
    table.add("load_par", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) {
            load_par();
        } else {
            load_par(in[0].text());
        }
        return rt::Values{};
    });
}

}  // namespace shell

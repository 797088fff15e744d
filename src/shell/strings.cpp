#include "shell/strings.h"

namespace shell {

namespace {

// Every field in table order; exactly one member pointer is set.
struct Field {
    const char* name;
    std::u16string Strings::*text;
    TextList Strings::*list;
    std::optional<std::u16string> Strings::*optional;
};

const Field kFields[] = {
    {"frame_files", nullptr, nullptr, &Strings::frame_files},
    {"wav_files", &Strings::wav_files, nullptr, nullptr},
    {"out_files", &Strings::out_files, nullptr, nullptr},
    {"print_files", &Strings::print_files, nullptr, nullptr},
    {"frame_ch1", &Strings::frame_ch1, nullptr, nullptr},
    {"frame_ch2", &Strings::frame_ch2, nullptr, nullptr},
    {"popup_sig", nullptr, &Strings::popup_sig, nullptr},
    {"popup_sig1", nullptr, &Strings::popup_sig1, nullptr},
    {"popup_sig2", nullptr, &Strings::popup_sig2, nullptr},
    {"popup_sig3", nullptr, &Strings::popup_sig3, nullptr},
    {"popup_sig4", nullptr, &Strings::popup_sig4, nullptr},
    {"total_mass", &Strings::total_mass, nullptr, nullptr},
    {"cw_value", &Strings::cw_value, nullptr, nullptr},
    {"frontalA", &Strings::frontalA, nullptr, nullptr},
    {"fro_value", &Strings::fro_value, nullptr, nullptr},
    {"gear_ratio", &Strings::gear_ratio, nullptr, nullptr},
    {"wheel_perim", &Strings::wheel_perim, nullptr, nullptr},
    {"lima", &Strings::lima, nullptr, nullptr},
    {"wheel_sens", &Strings::wheel_sens, nullptr, nullptr},
    {"roll_sens", &Strings::roll_sens, nullptr, nullptr},
    {"add_par", &Strings::add_par, nullptr, nullptr},
    {"add_wav", &Strings::add_wav, nullptr, nullptr},
    {"filt_length", &Strings::filt_length, nullptr, nullptr},
    {"cut_Vmax", &Strings::cut_Vmax, nullptr, nullptr},
    {"cut_File", &Strings::cut_File, nullptr, nullptr},
    {"total_tork", &Strings::total_tork, nullptr, nullptr},
    {"cylin_perim", &Strings::cylin_perim, nullptr, nullptr},
    {"air_temp", &Strings::air_temp, nullptr, nullptr},
    {"air_pres", &Strings::air_pres, nullptr, nullptr},
    {"min_rpm", &Strings::min_rpm, nullptr, nullptr},
    {"max_rpm", &Strings::max_rpm, nullptr, nullptr},
    {"frame_diag", nullptr, nullptr, &Strings::frame_diag},
    {"push_sdiag", &Strings::push_sdiag, nullptr, nullptr},
    {"frame_xaxis", &Strings::frame_xaxis, nullptr, nullptr},
    {"popup_xaxis", nullptr, &Strings::popup_xaxis, nullptr},
    {"frame_yaxis", &Strings::frame_yaxis, nullptr, nullptr},
    {"popup_yaxis", nullptr, &Strings::popup_yaxis, nullptr},
    {"fig_diag", &Strings::fig_diag, nullptr, nullptr},
    {"wb_sdiag", &Strings::wb_sdiag, nullptr, nullptr},
    {"set_color", &Strings::set_color, nullptr, nullptr},
    {"comment", &Strings::comment, nullptr, nullptr},
    {"title", &Strings::title, nullptr, nullptr},
    {"wait", &Strings::wait, nullptr, nullptr},
    {"get_file", &Strings::get_file, nullptr, nullptr},
    {"file_not_f", &Strings::file_not_f, nullptr, nullptr},
    {"file_error", &Strings::file_error, nullptr, nullptr},
    {"file_overw", &Strings::file_overw, nullptr, nullptr},
    {"error_num2s", &Strings::error_num2s, nullptr, nullptr},
    {"yes", &Strings::yes, nullptr, nullptr},
    {"no", &Strings::no, nullptr, nullptr},
    {"accept", &Strings::accept, nullptr, nullptr},
    {"cancel", &Strings::cancel, nullptr, nullptr},
    {"load", &Strings::load, nullptr, nullptr},
    {"save", &Strings::save, nullptr, nullptr},
    {"bmp_file", &Strings::bmp_file, nullptr, nullptr},
    {"sup_file", &Strings::sup_file, nullptr, nullptr},
    {"wav_file", &Strings::wav_file, nullptr, nullptr},
    {"asc_file", &Strings::asc_file, nullptr, nullptr},
    {"all_file", &Strings::all_file, nullptr, nullptr},
    {"cfg_file", &Strings::cfg_file, nullptr, nullptr},
    {"par_file", &Strings::par_file, nullptr, nullptr},
    {"cut_next", &Strings::cut_next, nullptr, nullptr},
    {"cut_done", &Strings::cut_done, nullptr, nullptr},
    {"clear_cache", &Strings::clear_cache, nullptr, nullptr},
    {"Wwheelcalc", &Strings::Wwheelcalc, nullptr, nullptr},
    {"Wtirewidth", &Strings::Wtirewidth, nullptr, nullptr},
    {"Waspectrat", &Strings::Waspectrat, nullptr, nullptr},
    {"Wwheelsize", &Strings::Wwheelsize, nullptr, nullptr},
    {"Wtiresize", &Strings::Wtiresize, nullptr, nullptr},
    {"Wwheellist", &Strings::Wwheellist, nullptr, nullptr},
    {"Wtirename", &Strings::Wtirename, nullptr, nullptr},
    {"Wtirecirc", &Strings::Wtirecirc, nullptr, nullptr},
    {"Wtirerm", &Strings::Wtirerm, nullptr, nullptr},
    {"Wtireadd", &Strings::Wtireadd, nullptr, nullptr},
    {"Ggearlist", &Strings::Ggearlist, nullptr, nullptr},
    {"Ggear", &Strings::Ggear, nullptr, nullptr},
    {"Gtype", &Strings::Gtype, nullptr, nullptr},
    {"Gname", &Strings::Gname, nullptr, nullptr},
    {"Gratio", &Strings::Gratio, nullptr, nullptr},
    {"printfig", &Strings::printfig, nullptr, nullptr},
    {"exportascii", &Strings::exportascii, nullptr, nullptr},
    {"meanvis", &Strings::meanvis, nullptr, nullptr},
    {"warnexist", &Strings::warnexist, nullptr, nullptr},
    {"delask", &Strings::delask, nullptr, nullptr},
    {"addask", &Strings::addask, nullptr, nullptr},
    {"titcut", &Strings::titcut, nullptr, nullptr},
    {"titera", &Strings::titera, nullptr, nullptr},
};

}  // namespace

rt::Value to_value(const Strings& st) {
    rt::Value rec = rt::Value::structure();
    for (const Field& f : kFields) {
        if (f.text) {
            rec.setField(f.name, rt::Value(st.*f.text));
        } else if (f.list) {
            rec.setField(f.name, to_value(st.*f.list));
        } else if ((st.*f.optional).has_value()) {
            rec.setField(f.name, rt::Value(*(st.*f.optional)));
        }
    }
    return rec;
}

rt::Value to_value(const TextList& list) {
    std::vector<std::u16string> rows;
    rows.reserve(list.rows.size());
    for (const auto& r : list.rows) {
        std::u16string row = r;
        if (row.size() < list.width) row.append(list.width - row.size(), u' ');
        rows.push_back(std::move(row));
    }
    return rt::Value::charMatrix(rows);
}

rt::Value strings() { return to_value(text_table()); }

void register_strings(rt::FunctionTable& table) {
    table.add("strings", 0, 1, [](const rt::Values&, int) { return rt::Values{strings()}; });
}

}  // namespace shell

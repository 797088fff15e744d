// The text table of rovantel: every text its windows, lists, dialogs and messages show.
// The three builds share the field names; each executable links exactly one table.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"
#include "runtime/value/value.h"

namespace shell {

// A list shown by a popup menu: its rows, padded with blanks to `width` characters.
struct TextList {
    std::vector<std::u16string> rows;
    std::size_t width = 0;
};

struct Strings {
    std::optional<std::u16string> frame_files;  // read by no function; absent from some builds
    std::u16string wav_files;
    std::u16string out_files;
    std::u16string print_files;
    std::u16string frame_ch1;
    std::u16string frame_ch2;
    TextList popup_sig;
    TextList popup_sig1;
    TextList popup_sig2;
    TextList popup_sig3;
    TextList popup_sig4;
    std::u16string total_mass;
    std::u16string cw_value;
    std::u16string frontalA;
    std::u16string fro_value;
    std::u16string gear_ratio;
    std::u16string wheel_perim;
    std::u16string lima;
    std::u16string wheel_sens;
    std::u16string roll_sens;
    std::u16string add_par;
    std::u16string add_wav;
    std::u16string filt_length;
    std::u16string cut_Vmax;
    std::u16string cut_File;
    std::u16string total_tork;
    std::u16string cylin_perim;
    std::u16string air_temp;
    std::u16string air_pres;
    std::u16string min_rpm;
    std::u16string max_rpm;
    std::optional<std::u16string> frame_diag;  // read by no function; absent from some builds
    std::u16string push_sdiag;
    std::u16string frame_xaxis;
    TextList popup_xaxis;
    std::u16string frame_yaxis;
    TextList popup_yaxis;
    std::u16string fig_diag;
    std::u16string wb_sdiag;
    std::u16string set_color;
    std::u16string comment;
    std::u16string title;
    std::u16string wait;
    std::u16string get_file;
    std::u16string file_not_f;
    std::u16string file_error;
    std::u16string file_overw;
    std::u16string error_num2s;
    std::u16string yes;
    std::u16string no;
    std::u16string accept;
    std::u16string cancel;
    std::u16string load;
    std::u16string save;
    std::u16string bmp_file;
    std::u16string sup_file;
    std::u16string wav_file;
    std::u16string asc_file;
    std::u16string all_file;
    std::u16string cfg_file;
    std::u16string par_file;
    std::u16string cut_next;
    std::u16string cut_done;
    std::u16string clear_cache;
    std::u16string Wwheelcalc;
    std::u16string Wtirewidth;
    std::u16string Waspectrat;
    std::u16string Wwheelsize;
    std::u16string Wtiresize;
    std::u16string Wwheellist;
    std::u16string Wtirename;
    std::u16string Wtirecirc;
    std::u16string Wtirerm;
    std::u16string Wtireadd;
    std::u16string Ggearlist;
    std::u16string Ggear;
    std::u16string Gtype;
    std::u16string Gname;
    std::u16string Gratio;
    std::u16string printfig;
    std::u16string exportascii;
    std::u16string meanvis;
    std::u16string warnexist;
    std::u16string delask;
    std::u16string addask;
    std::u16string titcut;
    std::u16string titera;

    // Messages of the program's own checks. The record `strings` returns leaves them out.
    // The evaluation and the parameter files
    std::u16string run_too_short;    // too few samples of the run are left to evaluate
    std::u16string lowpass_fails;    // the run's times or the filter length allow no low-pass
    std::u16string fro_no_number;    // the road model lacks its rolling-resistance coefficient
    std::u16string channel_pair;     // the pair of list positions follows it
    std::u16string rpm_not_finite;   // an rpm limit or the signals per revolution not finite
    std::u16string rpm_band_empty;   // the lowest and the highest rpm are equal
    std::u16string no_speed_to_cut;  // the speed editor finds no speed to choose from
    std::u16string par_no_var;       // follows a parameter file's name; the variable's name follows
    std::u16string par_bad_value;    // as par_no_var; then a list's rows, as in "(1-5)", or "(0-1)"
    std::u16string par_unreadable;   // follows a file's name; the reason on the next line

    // Table files (tire and gear tables)
    std::u16string tab_bad_field;     // an entry the table file cannot hold
    std::u16string tab_full;          // an entry added to a table that holds all it may
    std::u16string tab_at_line;       // follows the table file's name; "%d" is the line
    std::u16string tab_bad_file;      // follows tab_at_line: the line is no entry
    std::u16string tab_long_field;    // follows tab_at_line
    std::u16string tab_many_lines;    // follows tab_at_line
    std::u16string tab_write_failed;  // follows the table file's name; the reason follows it
    std::u16string tab_unreadable;    // follows the table file's name; the reason on the next line
    // The recording a run is read from.
    std::u16string rec_refused;      // follows the recording's name; the reason follows it
    std::u16string rec_rate;         // a reason; the file's rate follows it, then " Hz."
    std::u16string rec_no_channels;  // a reason
    std::u16string rec_no_frames;    // a reason
    std::u16string rec_cut_short;    // follows the recording's name
    std::u16string rec_frames;       // "expected / read" counts follow it
    // Saves refused: the reason on the line after write_failed or tab_write_failed.
    std::u16string save_no_file;     // the name gives a folder ("sub/")
    std::u16string save_read_only;   // the file is read-only
    std::u16string save_dir_locked;  // the folder is read-only
    std::u16string save_disk_full;   // no room left on the disk
    std::u16string save_not_a_file;  // a folder or the like bears the name
    std::u16string mean_no_common;   // the ticked runs share no x range for their mean
    std::u16string write_failed;     // follows a file's name; the reason follows it
};

// The three tables. Each executable selects one as its text_table(); the others are
// not linked into it.
const Strings& german_table();
const Strings& french_table();
const Strings& english_table();

// The table of this build, defined once per executable (src/apps/lang_*.cpp).
const Strings& text_table();
// The language of that table ("de", "fr", "en"), defined beside it.
const char* build_language();

// `strings`: the record st, built anew on every call; lists become blank-padded char matrices.
rt::Value strings();
rt::Value to_value(const Strings& st);
// A list as a popup shows it: a char matrix, rows padded to the list's width.
rt::Value to_value(const TextList& list);

// The by-name entry "strings": no inputs, one output.
void register_strings(rt::FunctionTable& table);

}  // namespace shell

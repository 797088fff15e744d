// The window that the three recording editors share: its frame of seven controls with their
// callback strings, the modal wait, the outcome and the hand-back of the kept samples.
// One editor window exists at a time; every function of the editor finds it by its Name
// (st.cut_File) and its axes by the Tag st.cut_File + "Axes".
#pragma once

#include <Eigen/Dense>
#include <array>
#include <string>
#include <vector>

#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"
#include "shell/strings.h"

namespace editor {

// The texts of the text table that the editor windows show.
struct EditorTexts {
    std::u16string cut_File;  // the window's Name, and with "Axes" its axes' Tag
    std::u16string wav_files;
    std::u16string get_file;
    std::u16string save;
    std::u16string cancel;
    std::u16string cut_next;
    std::u16string cut_done;
    std::u16string titcut;
    std::u16string titera;
    std::u16string wait;
    std::u16string wb_sdiag;

    static EditorTexts of(const shell::Strings& st);
    // The fields of the record `st` as the callers hand it over; rt::Error naming a missing one.
    static EditorTexts of(const rt::Value& st);
};

enum class EditorKind { SpectrogramCut, Erase, SpeedCut };

// The channels to show: [1 2], 1 or 2 as 1-based numbers; rt::Error for anything else
// that could not index a recording (empty, not whole, below 1).
std::vector<int> channel_list(const rt::Value& ch);

// The editor window and its axes, as the frame made them.
struct EditorFrame {
    rt::Handle figure = 0;
    rt::Handle axes = 0;
};

// Opens the window with its frame. `ch` and `L` enter the erase window's save and file
// chooser strings. The recording handed to the editor (`Y` at `FS`) is kept with the window,
// so that a save writes the samples the window shows.
EditorFrame open_frame(const EditorTexts& st, EditorKind kind,
                       const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                       const std::vector<int>& ch = {}, double L = 0);

// The callback strings of the frame; `wavfile` is quoted with its apostrophes doubled.
struct FrameCommands {
    std::u16string save, chooser, cancel, done;
};
FrameCommands frame_commands(EditorKind kind, rt::Handle figure, const std::u16string& wavfile,
                             const std::vector<int>& ch, double L);

enum class Outcome { Closed, Cancelled, Done };

// Waits until the window is hidden or gone and says how it ended; after cancel the window is
// closed. After Done `xlim` holds the axes' XLim and the window is still open.
struct Ended {
    Outcome outcome = Outcome::Closed;
    std::array<double, 2> xlim{0, 0};
};
Ended wait_for_user(const EditorTexts& st, rt::Handle figure);

// Makes the main window ready again: arrow pointer, inactive controls enabled.
void restore_main_window();

// The editor window (0 when none is open) and its axes (0 when none).
rt::Handle editor_window(const std::u16string& cut_File);
rt::Handle editor_axes(const std::u16string& cut_File);

// 0-based rows of the n samples at rate FS (sample i at i/FS s) that lie inside [a, b]:
// bounds included or excluded.
std::vector<Eigen::Index> rows_within(Eigen::Index n, double FS, double a, double b,
                                      bool includeBounds);
// Those rows of Y, all channels.
Eigen::MatrixXd take_rows(const Eigen::Ref<const Eigen::MatrixXd>& Y,
                          const std::vector<Eigen::Index>& rows);

// The samples of a recording value: a view of a real double array without copying it, else
// `storage` filled by conversion (rt::Error for cells, records and N-D values).
Eigen::Map<const Eigen::MatrixXd> samples_of(const rt::Value& v, Eigen::MatrixXd& storage);

// The recording the open editor window was handed (samples by channels) and its rate;
// false when the window holds none.
struct HeldRecording {
    rt::Value Y;
    double FS = 0;
};
bool held_recording(rt::Handle figure, HeldRecording& out);

}  // namespace editor

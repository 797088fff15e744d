// The erase window: disturbances are rubbed out of a fine spectrogram, and the shown channels
// are handed back as a tone that follows the cleaned peak trace.
#pragma once

#include <Eigen/Dense>
#include <vector>

#include "editor/editor_window.h"
#include "runtime/dispatch/function_table.h"

namespace editor {

// After done: Y holds the rows of the recording handed in whose times lie strictly inside
// the displayed interval (between the first and last slice centres), with channels ch
// replaced by the resynthesised tone; f is the tone's frequency [Hz] at every sample of the
// recording handed in and t those samples' times, counted from the first returned sample
// (so the track's times fit the returned recording; the first samples get negative times).
// After cancel or closing: ok 0, Y the analysis signal, f the analysis frequencies, t the
// slice centres.
struct EraseResult {
    Eigen::MatrixXd Y;
    bool ok = false;
    Eigen::RowVectorXd f;
    Eigen::RowVectorXd t;
};

// Shows channels ch of Y (FS Hz) as a spectrogram of 1501 frequencies over mr..Mr [1/min]
// with its peak trace, switches the eraser on, and waits for the user.
EraseResult era_file_spect(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                           const std::vector<int>& ch, double L, const EditorTexts& st, double mr,
                           double Mr);

void register_era_file_spect(rt::FunctionTable& table);

}  // namespace editor

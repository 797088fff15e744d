// The cut window on a spectrogram: the user zooms to the time interval to keep.
#pragma once

#include <Eigen/Dense>
#include <vector>

#include "editor/editor_window.h"
#include "runtime/dispatch/function_table.h"

namespace editor {

// What an editor hands back. After next/done: Y holds the kept rows of the recording handed
// in, all channels, at its own rate, and ok is 1. After cancel or closing: ok is 0 and Y the
// working signal (the mono analysis signal for the spectrogram editors).
struct CutResult {
    Eigen::MatrixXd Y;
    bool ok = false;
};

// Shows channels ch of Y (FS Hz) as a spectrogram of 301 frequencies over mr..Mr [1/min]
// (L: rpm-to-frequency factor), waits for the user, and hands back the samples whose times
// lie within the axes' XLim, bounds included. Cancel and closing restore the main window;
// after next it stays busy. Errors of the analysis end the call (the window stays open).
CutResult cut_file_spect(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                         const std::vector<int>& ch, double L, const EditorTexts& st, double mr,
                         double Mr);

void register_cut_file_spect(rt::FunctionTable& table);

}  // namespace editor

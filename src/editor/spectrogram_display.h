// The spectrogram that the cut and erase windows show: linear magnitudes over time and engine
// speed, and in the erase window the peak trace over it.
#pragma once

#include <Eigen/Dense>
#include <vector>

#include "editor/editor_window.h"

namespace editor {

struct ShownSpectrogram {
    Eigen::VectorXd signal;   // the analysis signal: 8820 Hz, mean removed
    Eigen::VectorXd F;        // the analysis frequencies [Hz]
    Eigen::VectorXd t;        // slice centres [s]
    Eigen::VectorXd peakRpm;  // per slice the engine speed of the greatest magnitude
};

// Draws into the editor axes `ax`: channels `ch` of Y (averaged when two) at 8820 Hz, 301
// frequencies over mr..Mr [1/min] with the cut window's overlap, or for the erase window 1501
// frequencies with the spectrogram's default overlap and the peak trace "SpectrumP". The
// image is "SpectrumI" (rows engine speed, columns slices); limits, labels and title follow.
// rt::Error for a channel the recording lacks, and what resampling and analysis throw.
ShownSpectrogram show_spectrogram(rt::Handle ax, const EditorTexts& st, bool erase,
                                  const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                                  const std::vector<int>& ch, double L, double mr, double Mr);

// The columns `ch` (1-based) of Y; rt::Error naming the channel when Y lacks it.
Eigen::MatrixXd channel_columns(const Eigen::Ref<const Eigen::MatrixXd>& Y,
                                const std::vector<int>& ch);

}  // namespace editor

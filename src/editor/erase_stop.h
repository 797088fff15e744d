// The end of an eraser stroke: the spectrogram cells near the stroke's positions become 0
// and the peak trace is drawn again from what is left.
#pragma once

#include <Eigen/Dense>

#include "runtime/dispatch/function_table.h"

namespace editor {

// Clears, for every position (xe(i), ye(i)) from the second on (the first is the trail's
// seed), the cells of cd whose column time xd lies strictly within 6 steps dx of xe(i) and
// whose row rpm yd lies strictly between ye(i) - 6 dy and ye(i) + 5 dy. A position whose
// columns or rows are all outside clears nothing.
void clear_cells(Eigen::MatrixXd& cd, const Eigen::VectorXd& xd, const Eigen::VectorXd& yd,
                 const Eigen::VectorXd& xe, const Eigen::VectorXd& ye, double dx, double dy);

// Per column of |cd| the 0-based row of the greatest value, the first on a tie; an all-zero
// column gives row 0 (the lowest rpm).
Eigen::VectorXi peak_rows(const Eigen::MatrixXd& cd);

// Runs erase (the release position), ends the stroke's mouse callbacks, clears the image
// "SpectrumI" around the trail, resets the trail to its seed and sets the peak trace
// "SpectrumP" to the new peaks. One pixel step is the axes' width and height in pixels
// divided into their limits. Does nothing when no editor window is open.
void erase_stop();

void register_erase_stop(rt::FunctionTable& table);

}  // namespace editor

// The cut window on a speed plot, for pulse channels (wheel sensors, ignition pulses).
#pragma once

#include <Eigen/Dense>
#include <vector>

#include "editor/cut_file_spect.h"
#include "runtime/dispatch/function_table.h"

namespace editor {

// Shows the speed (km/h) that dig2v finds in channels ch of Y (FS Hz) with tire circumference
// u [m] and W pulses per revolution, waits for the user, and hands back the rows of Y whose
// times lie strictly inside the axes' XLim. After cancel or closing Y is channels ch of Y.
CutResult cut_file_digi(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double u, double W,
                        const EditorTexts& st, const std::vector<int>& ch = {1, 2});

void register_cut_file_digi(rt::FunctionTable& table);

}  // namespace editor

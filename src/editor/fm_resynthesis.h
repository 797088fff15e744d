// The tone that replaces a channel after erasing: a unit cosine whose frequency follows the
// cleaned peak trace sample by sample.
#pragma once

#include <Eigen/Dense>
#include <vector>

namespace editor {

struct Resynthesis {
    Eigen::VectorXd f;  // the tone's frequency at every sample [Hz]
    Eigen::VectorXd y;  // the tone, amplitude 1
};

// The trace (times [s] and engine speeds [1/min]) resynthesised for n samples at FS Hz
// (sample i at i/FS s), with L the rpm-to-frequency factor. The first trace value holds from
// time 0 to the first trace time, the last from the last trace time to the last sample; in
// between the trace is interpolated linearly. y(i) = cos(2 pi fm T(i) + 2 pi/FS sum_{k<=i}
// (f(k) - fm)) with fm the mean of f. n = 0 gives empty results. rt::Error for an empty
// trace, and modulate's error when fm lies at or above FS/2.
Resynthesis resynthesise(const Eigen::VectorXd& traceT, const Eigen::VectorXd& traceRpm,
                         Eigen::Index n, double FS, double L);

// Y's rows `rows`, all channels, with each channel of `ch` (1-based) replaced by those rows
// of `tone`; a channel beyond Y's last one adds columns (zeros in those between).
Eigen::MatrixXd rebuild_channels(const Eigen::Ref<const Eigen::MatrixXd>& Y,
                                 const std::vector<Eigen::Index>& rows, const std::vector<int>& ch,
                                 const Eigen::VectorXd& tone);

}  // namespace editor

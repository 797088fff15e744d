// The physics of a run: smoothing, acceleration, distance, power, torque and gear ratio from
// time, speed and engine speed, and the quantities chosen for the diagram's axes.
#pragma once

#include <Eigen/Dense>
#include <optional>
#include <utility>

#include "evaluation/channel_table.h"
#include "runtime/numeric/statespace.h"

namespace evaluation {

// The parameter-record values the curves need besides the channel table's.
struct Physics {
    double m = 0, cw = 0, u = 0, fl = 0, J = 0, ur = 0, A = 0, T = 20, p = 1013;
    std::optional<double> fro;  // absent when its field was no number
    bool cutvmax = false;
    bool drum = false;  // the power follows the drum's inertia, else the road model
};

// The run's curves, rows of equal length; v in km/h.
struct Curves {
    Eigen::RowVectorXd t, v, rpm, a, X, P, Pps, M, gear_ratio;
    double k = 1;  // air correction factor
};

// Normalised cut-off of the low-pass for filter length fl [s] over the times t: 2/fl times
// the mean time step, 0.999999 when 1 or above. rt::Error when it is not above 0 (times not
// increasing, or a filter length that is not positive).
double lowpass_cutoff(double fl, const Eigen::RowVectorXd& t);

// Forward-backward filtered; the first floor(n/2) samples from x, the rest from x reversed,
// so each end is smoothed from the side of its own samples.
Eigen::RowVectorXd split_smooth(const rt::TransferFunction& lp, const Eigen::RowVectorXd& x);

// 1013/p·sqrt((273 + T)/293): power measured in air at T [°C] and p [mbar] to standard air.
double air_correction(double T, double p);

// Keeps the samples up to the first maximum of v.
void cut_at_vmax(RunSeries& run);

// Smoothing, acceleration, distance, power, torque and gear ratio of a run (t [s], v [m/s],
// rpm [1/min]). rt::Error when the run is too short to filter or the times do not increase;
// shell::FieldNotANumber when the road model lacks its rolling-resistance coefficient.
Curves curves(RunSeries run, const Physics& p);

// The x row and the y columns of the list rows xv and yv (the axis choices' quantities).
// rt::Error for rows outside the lists.
std::pair<Eigen::RowVectorXd, Eigen::MatrixXd> axes_choice(const Curves& c, int xv, int yv);

}  // namespace evaluation

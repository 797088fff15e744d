// The diagram windows: one per pair of x and y quantities, collecting every run of that pair
// with its curves and its comment block.
#pragma once

#include <Eigen/Dense>
#include <optional>
#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/host.h"
#include "runtime/value/value.h"

namespace diagram {

// Adds a run to the window of quantities `vx`/`vy` (rows of the main window's x and y
// popups), creating the window with its axes and three buttons on first use. `x` holds n
// values, `y` n rows of one or two quantities (the second drawn at half scale with dots);
// `ccc` is the run's colour, `komment` its comment (the text table's default comment counts
// as none), `k` the air correction factor. Without `data_tag` the run's identity is the
// recording's path, the parameter comment, the cache generation and the state of the
// recording file (rt::fileStateKey), and the comment gets the parameters and the recording's
// name when the main window asks for them. A run already in the window is shown again and
// ticked instead of being drawn twice. Needs the main window
// (popups, parameter panel); rt::Error when a field of the panel is no number, `vx`/`vy`
// name no row, or `y` does not have one row per x value. `wav_state` is that state as the
// caller took it when it read the recording; absent, it is taken here.
void plot_diag(const std::vector<double>& x, const Eigen::MatrixXd& y, const rt::Rgb& ccc,
               const std::u16string& komment, int vx, int vy, double k,
               const std::optional<std::u16string>& data_tag = std::nullopt,
               const std::optional<std::string>& wav_state = std::nullopt);

// Pieces of a run's identity and layout, as plot_diag makes them.

// st.fig_diag + ": " + var_x + " - " + var_y with every blank that a blank follows removed.
std::u16string diagram_name(const std::u16string& fig_diag, const std::u16string& var_x,
                            const std::u16string& var_y);

// The parameters that shape a run's power curve, as the panel holds them.
struct RunParameters {
    rt::Value m, A, cw, r, u, l, fl, W;
};
// `komment` followed by " [ M: " m "kg " ... "  k: " k " ]", numbers through num2str.
std::u16string parameter_comment(const std::u16string& komment, const RunParameters& p, double k);

// Comment blocks shrink towards the top line 0.87 once a window holds more than nine runs:
// the factor for the n-th run is (n - 1) / n (1 up to the ninth), and a control's
// [left bottom width height] becomes [left, 0.87 - (0.87 - bottom)·fac, width, height·fac].
double shrink_factor(std::size_t runs);
rt::Rect shrunk(const rt::Rect& position, double fac);

// "plot_diag": (x, y, colour, comment, vx, vy, k[, data_tag]) in, nothing out.
void register_plot_diag(rt::FunctionTable& table);

}  // namespace diagram

// Pulse channels (wheel sensors, ignition clamp) to speed or revolutions per second, from the
// intervals between pulse edges, with a progress window while it works.
#pragma once

#include <Eigen/Dense>
#include <functional>
#include <string>

#include "signal/resample.h"

namespace rt {
class FunctionTable;
}

namespace evaluation {

// The two texts of the progress window: its message and its window name.
struct Dig2vTexts {
    std::u16string wait;      // the text table's `wait` ("Bitte warten")
    std::u16string wb_sdiag;  // the text table's `wb_sdiag` ("Berechne Diagramm")
};

// Times [s] of the later edge of each kept interval and the value u/interval/W there, as
// columns of equal length.
struct PulseSeries {
    Eigen::VectorXd t;
    Eigen::VectorXd v;
};

// The pulse conversion. Y: samples x 1, or x 2 (averaged per sample), or a single row;
// FS [Hz]; u: distance per revolution (tire circumference [m], or 1 for the ignition clamp);
// W: pulses per revolution (or 1). Edges are the steps between samples larger than 0.3679 of
// the largest step (of a run of such steps only the last counts); an edge followed by an
// interval shorter than the mean interval minus three standard deviations is dropped; values
// above the plausible ceiling go (83.33 m/s, or 500 revolutions per second for (u, W) =
// (1, 1)), then values more than max(0.1, 2·v²·W/(u·FS)) above the curve low-passed forward
// and backward by butter(3, 0.25). A signal without steps gives no values.
// A progress window (name texts.wb_sdiag, message texts.wait) opens first, moves to 0.45,
// 0.48, 0.73 and 0.99 after the stages and closes at the end. A failing stage throws and
// leaves it open: rt::Error "Data must have length more than 3 times filter order." when
// 1 to 9 values reach the low-pass, "The recording must have one or two channels."
// for any other shape but a single row.
PulseSeries dig2v(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double u, double W,
                  const Dig2vTexts& texts);

// The same on one channel of `samples` samples that `read` hands over a stretch at a time,
// so that it never needs to exist whole.
PulseSeries dig2v(Eigen::Index samples, const sig::SampleReader& read, double FS, double u,
                  double W, const Dig2vTexts& texts);

// "dig2v": (Y, FS, u, W, st) -> [t, v] as columns; the window's texts are st.wait and
// st.wb_sdiag. Throws rt::Error "Not enough input arguments." with fewer than five inputs.
void register_dig2v(rt::FunctionTable& t);

}  // namespace evaluation

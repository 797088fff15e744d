// Tone channels (alternator, microphone, drum sensors) to revolutions per second: the
// strongest frequency of the rpm band per spectrogram slice, divided by the signals per
// revolution. The tone-track analysis below is shared with the recording editor's displays.
#pragma once

#include <Eigen/Dense>
#include <optional>

namespace rt {
class FunctionTable;
}

namespace evaluation {

// Every tone analysis runs at this rate on slices of this many samples (0.4 s), and places
// a slice's time at its centre, kToneCentre after its first sample.
inline constexpr double kToneRate = 8820;    // Hz
inline constexpr double kToneWindow = 3528;  // samples
inline constexpr double kToneCentre = 0.2;   // s

// The analysis signal of a channel as a column at kToneRate: a recording of two columns is
// averaged sample by sample, then resampled from FS when FS differs from kToneRate, then
// its mean is removed. Y may also be one row or one column (a single channel).
// Throws rt::Error "Requires vector (either row or column) input." for any other shape, and
// what resample throws (a rate that is not a positive integer).
Eigen::VectorXd toneSignal(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS);

// steps + 1 analysis frequencies [Hz] evenly over the band mr … Mr [1/min] for L signals per
// revolution: (mr : (Mr − mr)/steps : Mr)/60·L; Mr < mr gives a falling grid. wav2v uses
// 1500 steps, the editor's cut window 300. Throws rt::Error when mr, Mr or L is not finite,
// and "The lowest and the highest rpm must differ." when the band is empty.
Eigen::VectorXd toneGrid(double mr, double Mr, double L, int steps);

// The overlap wav2v uses for a signal of n samples at kToneRate: floor(3528·0.9/k) with
// k = max(1, ceil(log10(n/8820/2))): 3175 samples up to 20 s, 1587 up to 200 s, 1058 up to
// 2000 s, and so on. The editor's cut window divides this k into 317.52 instead.
double toneOverlap(Eigen::Index n);
// That k.
double toneOverlapDivisor(Eigen::Index n);

// The spectrogram of a tone channel with its peak per slice.
struct ToneSpectrum {
    Eigen::MatrixXcd B;     // complex spectrum, one row per frequency, one column per slice
    Eigen::VectorXd F;      // the analysis frequencies [Hz], as given
    Eigen::VectorXd t;      // slice centres [s], the first at kToneCentre
    Eigen::VectorXi peak;   // per slice the row of the largest magnitude (the first on a tie)
    Eigen::VectorXd track;  // F(peak): the tone's frequency per slice [Hz]
};

// Analyses x (a signal at kToneRate, as toneSignal makes it) in slices of kToneWindow
// samples with a Hann window at the frequencies freq, consecutive slices sharing noverlap
// samples (absent: the spectrogram's default, half a slice). A signal shorter than a slice
// is zero-padded to one. Throws rt::Error with the spectrogram's message for an empty freq,
// an empty x or an unusable noverlap.
ToneSpectrum toneSpectrum(const Eigen::VectorXd& x, const Eigen::VectorXd& freq,
                          std::optional<double> noverlap = {});

// Times [s] and values, one per analysis slice or per track sample, as columns.
struct ToneSeries {
    Eigen::VectorXd t;
    Eigen::VectorXd v;
};

// The tone-track analysis of Y (samples x 1 or x 2, averaged) at rate FS [Hz]: the band
// runs from mr/60·L to Mr/60·L Hz in 1500 steps, slices overlap by toneOverlap, and v is
// the peak frequency divided by l (revolutions per second of what l counts per revolution).
// Throws what toneSignal, toneGrid and toneSpectrum throw.
ToneSeries wav2v(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double l, double L,
                 double mr, double Mr);

// A frequency track f [Hz] at times t [s] prepared elsewhere (the erase window): t unchanged,
// v = f/l, nothing analysed.
ToneSeries wav2v(const Eigen::VectorXd& f, const Eigen::VectorXd& t, double l);

// "wav2v": (Y, FS, l, L, st, mr, Mr[, f, t]) -> [t, v]. With no track or an empty f the
// channel is analysed (columns out); with a track, t comes back as given and v = f/l in f's
// shape. st is not read. Throws rt::Error "Not enough input arguments." with fewer than
// seven inputs, or with a track but no times.
void register_wav2v(rt::FunctionTable& t);

}  // namespace evaluation

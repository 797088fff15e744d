// Spectrogram: short-time Fourier transform by FFT, chirp-z or direct transform.
#pragma once

#include <Eigen/Dense>
#include <optional>
#include <string>

namespace rt {
class FunctionTable;
}

namespace sig {

// specgram's inputs; an absent one takes its default.
struct SpecgramArgs {
    Eigen::MatrixXcd x;                     // the signal (must be a vector)
    bool xReal = true;                      // no element has an imaginary part
    std::optional<Eigen::VectorXd> nfft;    // one value: FFT length; several: frequencies (Hz)
    std::optional<double> Fs;               // Hz, default 2
    std::optional<Eigen::VectorXd> window;  // weights; one value n stands for hanning(n)
    std::optional<double> noverlap;         // default ceil(length(window)/2)
};

// The arguments with every default applied, and msg: empty when they are acceptable,
// else the text of the last failing check.
struct SpecgramChecked {
    std::string msg;
    Eigen::VectorXd nfft;
    double Fs = 2;
    Eigen::VectorXd window;
    double noverlap = 0;
};

// Applies the defaults and runs the checks (all of them; the last failure's text wins); an
// empty frequency list fails.
// Throws rt::Error "You must specify a window function." for a frequency list without a
// window, and what hanning throws for a bad window length.
SpecgramChecked specgramchk(const SpecgramArgs& args);

enum class SpecgramPath { Fft, ChirpZ, Direct };

// The transform a second argument selects: one value the FFT; more than 20 frequencies
// whose steps agree within 1e-12 Fs the chirp-z transform; any other list direct transforms.
// nfft holds at least one value, as specgramchk requires.
SpecgramPath specgramPath(const Eigen::VectorXd& nfft, double Fs);

struct SpecgramResult {
    Eigen::MatrixXcd B;  // one row per frequency, one column per slice
    Eigen::VectorXd F;   // Hz
    Eigen::VectorXd T;   // slice start times, s (0 = first sample)
};

// The spectrogram. A single nfft: FFT path (real x keeps the rows up to Fs/2). More than
// 20 evenly spaced frequencies: chirp-z path. Any other list: direct transforms. A signal
// shorter than the window is zero-padded to one slice. Throws rt::Error with the check
// message when specgramchk reports one.
SpecgramResult specgram(const SpecgramArgs& args);

// The analysis form: x real (read in place), a frequency list, the window length n
// (hanning(n)).
SpecgramResult specgram(const Eigen::Ref<const Eigen::VectorXd>& x, const Eigen::VectorXd& freqs,
                        double Fs, double windowLength, double noverlap);

// The row of a slice's n points with the largest |v|² (as maxCoeff finds it: the first of
// equal ones, and no NaN after the first point wins); 0 when n is 0.
Eigen::Index strongestRow(const std::complex<double>* v, Eigen::Index n);

// The analysis form's strongest row per slice (of the largest |B|, the first of equal ones)
// with the slice start times, without keeping the spectrum.
struct SpecgramPeaks {
    Eigen::VectorXi row;
    Eigen::VectorXd T;  // s
};
SpecgramPeaks specgramPeaks(const Eigen::Ref<const Eigen::VectorXd>& x,
                            const Eigen::VectorXd& freqs, double Fs, double windowLength,
                            double noverlap);

// "specgram": any number of inputs (1 to 5 accepted), 3 outputs [B, F, T]. With no output
// requested it draws 20 log10(|B| + eps) as an image in a new plot instead.
void register_specgram(rt::FunctionTable& t);

}  // namespace sig

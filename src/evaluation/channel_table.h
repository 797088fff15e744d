// The channel table: decodes the channel choice, runs the recording editor when its box is
// ticked, and converts the channels into time, speed and engine speed.
#pragma once

#include <Eigen/Dense>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "evaluation/dig2v.h"
#include "evaluation/wav2v.h"
#include "shell/channel_lists.h"
#include "shell/strings.h"
#include "signal/wavread.h"

namespace evaluation {

// The channel choice is decoded by the main window's channel lists.
using shell::channel2_type;
using shell::drum_on_a_channel;
using shell::Signal;

// The erase window's cleaned frequency track [Hz] and its times [s]; empty when it did not run.
struct Track {
    Eigen::VectorXd f;
    Eigen::VectorXd t;
};

// The conversions and editors the table runs, replaceable for tests. A channel selection is
// {1, 2}, {1} or {2}; an editor gives nullopt when the user cancelled or closed it.
struct ChannelCalls {
    std::function<ToneSeries(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double n,
                             double L, double mr, double Mr, const Track& track)>
        wav2v;
    // On a channel (or the mean of two) of that many samples handed over a stretch at a time.
    std::function<PulseSeries(Eigen::Index samples, const sig::SampleReader& read, double FS,
                              double a, double b)>
        dig2v;
    std::function<std::optional<Eigen::MatrixXd>(const Eigen::MatrixXd& Y, double FS,
                                                 const std::vector<int>& ch, double L, double mr,
                                                 double Mr)>
        cut_file_spect;
    struct Erased {
        Eigen::MatrixXd Y;
        Track track;
    };
    std::function<std::optional<Erased>(const Eigen::MatrixXd& Y, double FS,
                                        const std::vector<int>& ch, double L, double mr, double Mr)>
        era_file_spect;
    // An empty ch: the editor works on both channels and is called without a channel.
    std::function<std::optional<Eigen::MatrixXd>(const Eigen::MatrixXd& Y, double FS, double a,
                                                 double b, const std::vector<int>& ch)>
        cut_file_digi;
};

// What the table reads of the parameter record, and the editor box.
struct ChannelParams {
    double r = 0, u = 0, l = 0, ur = 0, W = 0, mr = 0, Mr = 0;
    int sig_ch1 = 0, sig_ch2 = 0;
    bool cut = false;
};

// Time [s], speed [m/s] and engine speed [1/min] as rows of equal length; the engine speed
// is NaN where the engine-speed series has no value.
struct RunSeries {
    Eigen::RowVectorXd t, v, rpm;
};

// "Linker Kanal: Aus - Rechter Kanal: Aus!" in the German table.
std::u16string both_off_message(const shell::Strings& st);

// Runs the case of (sig_ch1, sig_ch2) on Y (samples x 2; a single column counts as both) at FS
// [Hz]. nullopt when the evaluation ends here: an editor cancelled, or both channels off (the
// message is shown in an error dialog without title). rt::Error for a pair the lists do not offer,
// and what the conversions and editors throw.
std::optional<RunSeries> channel_table(Eigen::MatrixXd Y, double FS, const ChannelParams& p,
                                       const shell::Strings& st, const ChannelCalls& calls);

// The same on a recording read from its file (one or two channels; one counts as both),
// without the editors (p.cut is not looked at: they take the whole recording): each
// conversion reads only its channel, or the mean of both, and a tone channel reaches wav2v
// already resampled to kToneRate, so that the recording never exists whole.
std::optional<RunSeries> channel_table(const sig::WavSource& source, const ChannelParams& p,
                                       const shell::Strings& st, const ChannelCalls& calls);

}  // namespace evaluation

// The recording of a run as the evaluation and the editors take it: refused before its
// samples are decoded when it cannot be evaluated, with a warning when the file cuts it short.
#pragma once

#include <string>
#include <variant>

#include "shell/strings.h"
#include "signal/wavread.h"

namespace evaluation {

// The rates a run can be evaluated at, Hz: below, the resampling to the analysis rate would
// multiply the samples beyond any memory; above, its filter would.
inline constexpr double kLowestRate = 1000;
inline constexpr double kHighestRate = 384000;

// Why a recording of this shape cannot be evaluated, naming `file`, in st's language: a rate
// outside kLowestRate … kHighestRate, no channel, no frame. Empty when it can. Frames NaN
// (an unusable sample width, left to the reader's own message) are not held against it.
std::string recording_refusal(const std::string& file, const sig::WavShape& shape,
                              const shell::Strings& st);

// [Y, FS] = wavread(file), refused with rt::Error (recording_refusal's text) before any
// sample is decoded. A file that cuts its data short is read as far as it goes, and a warning
// dialog in st's language says so; the evaluation goes on meanwhile.
sig::Recording read_recording(const std::string& file, const shell::Strings& st);

// The same for the recording read in parts (sig::WavSource::open): refused alike, with the
// same warning; decoded whole in the same walk when it cannot be read in parts.
std::variant<sig::WavSource, sig::Recording> open_recording(const std::string& file,
                                                            const shell::Strings& st);

}  // namespace evaluation

// wavwrite: writes samples as a RIFF WAVE file with a fixed 44-byte header.
#pragma once

#include <Eigen/Dense>
#include <string>

#include "runtime/dispatch/function_table.h"

namespace sig {

// wavwrite(y, Fs, nbits, wavefile). y is samples by channels (a 1 x n row is one channel).
// nbits 8, 16 and 24 write rounded integers clipped to their range, with one warning
// "Data clipped during write to file:" + wavefile when any sample was clipped; 32 writes IEEE
// single samples unscaled. ".wav" is appended when the name holds no "." (a name that gives a
// folder, "sub/", is refused as rt::SaveError before that); an existing file is
// replaced as a whole (rt::saveFileAtomically): every failure, "Invalid number of bits
// specified." included, leaves a previous file untouched and no partial file behind. Throws
// rt::Error with the writer's message; a failed write adds the file and the system's reason.
void wavwrite(const Eigen::MatrixXd& y, double Fs, double nbits, const std::string& wavefile);

// Adds "wavwrite" (up to 4 inputs, no output) to the table of functions callable by name;
// wavwrite(y, name) uses 8000 Hz and 16 bits, wavwrite(y, Fs, name) 16 bits.
void register_wavwrite(rt::FunctionTable& t);

}  // namespace sig

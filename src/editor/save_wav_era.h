// The erase window's save: the shown interval with the chosen channels rebuilt as the tone.
#pragma once

#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"

namespace editor {

// As save_wav_cut, with each channel of `ch` (1-based) replaced by the tone resynthesised
// from the peak trace ("SpectrumP") as it stands, at the recording's sample times and rate,
// with the rpm-to-frequency factor L. A channel beyond the recording's last adds one.
void save_wav_era(const std::string& wavfile1, const std::vector<int>& ch, double L);

void register_save_wav_era(rt::FunctionTable& table);

}  // namespace editor

// The editor windows' file chooser: asks for the output name, then saves.
#pragma once

#include <optional>
#include <vector>

#include "runtime/dispatch/function_table.h"

namespace editor {

// The erase window's channels and factor; absent in the cut windows.
struct EraseChannels {
    std::vector<int> ch;
    double L = 0;
};

// A save dialog that opens in the recording's folder (the working folder is restored on every
// way out); after a choice the wav_file and wav_cut_file fields show it and save_wav_cut, or
// save_wav_era with `era`, runs. A cancelled dialog changes nothing.
void put_wav_filename(const std::optional<EraseChannels>& era = std::nullopt);

void register_put_wav_filename(rt::FunctionTable& table);

}  // namespace editor

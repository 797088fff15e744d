// The cut windows' save: the samples inside the editor axes' interval as a new WAV file.
#pragma once

#include <string>

#include "runtime/dispatch/function_table.h"

namespace editor {

// Writes the rows of the shown recording strictly inside the editor axes' XLim, all channels,
// at the recording's rate, with 32-bit float samples, to the name in the output-file field
// (output_name's rules), and puts that name into the main window's wav_file. `wavfile1`
// is read only when the editor window holds no recording. An error shows a dialog and
// ends the call with rt::Error; wav_file then keeps its text.
void save_wav_cut(const std::string& wavfile1);

void register_save_wav_cut(rt::FunctionTable& table);

}  // namespace editor

// What the editor's saves share: the output name with its ".wav" rule and overwrite question,
// the samples the editor window shows, and the write that names the main window's recording.
#pragma once

#include <Eigen/Dense>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "shell/strings.h"

namespace editor {

// The output-file field's text, with ".wav" appended when it holds no "." at all. When a file
// or folder of that name exists the user is asked whether to overwrite it; any answer but
// st.yes (the dialog closed without one included) gives nullopt: nothing is to be written.
// So does a text that gives a folder ("sub/"), after an error dialog saying so.
std::optional<std::string> output_name(const shell::Strings& st);

// The recording the editor window was handed (re-read from `source` only when the window
// holds none) and the editor axes' XLim. rt::Error when no editor window is open.
struct ShownRecording {
    Eigen::MatrixXd Y;
    double FS = 0;
    std::array<double, 2> xlim{0, 0};
};
ShownRecording shown_recording(const shell::Strings& st, const std::string& source);

// Runs `save`; an error is shown in an error dialog over the window before it ends the
// callback (rethrown).
void reporting_errors(const shell::Strings& st, const std::function<void()>& save);

// Writes Y at FS with 32-bit float samples to `name` (replacing an existing file only through
// a complete temporary file) and makes `name` the main window's recording (wav_file). A
// refused or failed save shows an error dialog (shell::save_or_report) and changes nothing.
void write_recording(const Eigen::MatrixXd& Y, double FS, const std::string& name);

}  // namespace editor

// The calculate button: one run from the recording (or the result cache) through speed and
// engine speed to power, torque and gear ratio, handed to the diagram window.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "evaluation/channel_table.h"
#include "runtime/dispatch/function_table.h"

namespace evaluation {

// The result cache's Tag of a run, before its "V" or "RPM": "Saved Data", the path as the
// field holds it, the seven key values through num2str without separators, then the file's
// state (rt::fileStateKey: identity, size, modification and change time) as it was before the
// run was read, so that a file written again under the same name, or copied over it keeping
// size and modification time, is converted again.
std::u16string saved_data_tag(const std::u16string& wavfile, const std::u16string& all_par_str,
                              const std::string& file_state);
std::u16string all_par_str(const rt::Value& r, const rt::Value& u, const rt::Value& l,
                           const rt::Value& ur, const rt::Value& W, const rt::Value& sig_ch1,
                           const rt::Value& sig_ch2);

// The recording editors, called by name through the program's table as they are there.
class EditorCalls {
public:
    // Takes the entries "cut_file_spect", "era_file_spect" and "cut_file_digi" that t holds.
    void bind(const rt::FunctionTable& t);
    // Calls one; rt::Error naming it when the table had none.
    rt::Values call(const std::string& name, const rt::Values& in, int nargout) const;

private:
    std::map<std::string, rt::FunctionEntry> entries_;
};

// The channel table's conversions (wav2v, dig2v) and the editors through `editors`.
ChannelCalls channel_calls(const EditorCalls& editors, const shell::Strings& st);

// One evaluation as the calculate button runs it, with the main window busy meanwhile;
// every error ends in an error dialog with its text and the main window ready again.
void calc_diag(const EditorCalls& editors);

// "calc_diag": no inputs, no outputs. The editors it calls are bound by the caller once the
// table is complete (the returned object), so that entries added after it are found.
std::shared_ptr<EditorCalls> register_calc_diag(rt::FunctionTable& table);

}  // namespace evaluation

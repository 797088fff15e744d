#include "evaluation/read_recording.h"

#include "runtime/dispatch/error.h"
#include "runtime/host.h"
#include "runtime/value/num2str.h"
#include "runtime/value/value.h"

namespace evaluation {

namespace {

std::string quoted(const std::string& file) { return "\"" + file + "\""; }

sig::WavShapeCheck refusing(const std::string& file, const shell::Strings& st) {
    return
        [&file, &st](const sig::WavShape& shape) { rt::error(recording_refusal(file, shape, st)); };
}

// After the walk: a format chunk after the data may have changed the rate the samples are
// taken at; a data chunk the file cuts short is told.
void accept(const std::string& file, const sig::WavShape& shape, const shell::Strings& st) {
    rt::error(recording_refusal(file, shape, st));
    if (shape.cut_short())
        rt::warndlg(quoted(file) + " " + rt::utf8(st.rec_cut_short) + "\n" +
                    rt::utf8(st.rec_frames) + " " + rt::num2str(shape.expected) + " / " +
                    rt::num2str(shape.frames));
}

// A decoded recording's shape at the rate it is taken at.
sig::WavShape decoded(const sig::Recording& rec) {
    return {rec.Fs, static_cast<double>(rec.y.cols()), static_cast<double>(rec.y.rows()),
            rec.shape.expected};
}

}  // namespace

std::string recording_refusal(const std::string& file, const sig::WavShape& shape,
                              const shell::Strings& st) {
    std::string why;
    if (!(shape.Fs >= kLowestRate && shape.Fs <= kHighestRate))
        why = rt::utf8(st.rec_rate) + " " + rt::num2str(shape.Fs) + " Hz.";
    else if (shape.channels == 0)
        why = rt::utf8(st.rec_no_channels);
    else if (shape.frames == 0)
        why = rt::utf8(st.rec_no_frames);
    if (why.empty()) return why;
    return quoted(file) + " " + rt::utf8(st.rec_refused) + " " + why;
}

sig::Recording read_recording(const std::string& file, const shell::Strings& st) {
    sig::Recording rec = sig::wavread_recording(file, refusing(file, st));
    accept(file, decoded(rec), st);
    return rec;
}

std::variant<sig::WavSource, sig::Recording> open_recording(const std::string& file,
                                                            const shell::Strings& st) {
    std::variant<sig::WavSource, sig::Recording> r = sig::WavSource::open(file, refusing(file, st));
    if (const auto* source = std::get_if<sig::WavSource>(&r))
        accept(file,
               {source->Fs, source->shape.channels, source->shape.frames, source->shape.expected},
               st);
    else
        accept(file, decoded(std::get<sig::Recording>(r)), st);
    return r;
}

}  // namespace evaluation

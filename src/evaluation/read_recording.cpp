#include "evaluation/read_recording.h"

#include <cstdio>

#include "runtime/dispatch/error.h"
#include "runtime/host.h"
#include "runtime/value/value.h"

namespace evaluation {

namespace {

std::string whole(double n) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", n);
    return text;
}

std::string quoted(const std::string& file) { return "\"" + file + "\""; }

}  // namespace

std::string recording_refusal(const std::string& file, const sig::WavShape& shape,
                              const shell::Strings& st) {
    std::string why;
    if (!(shape.Fs >= kLowestRate && shape.Fs <= kHighestRate))
        why = rt::utf8(st.rec_rate) + " " + whole(shape.Fs) + " Hz.";
    else if (shape.channels == 0)
        why = rt::utf8(st.rec_no_channels);
    else if (shape.frames == 0)
        why = rt::utf8(st.rec_no_frames);
    if (why.empty()) return why;
    return quoted(file) + " " + rt::utf8(st.rec_refused) + " " + why;
}

sig::Recording read_recording(const std::string& file, const shell::Strings& st) {
    const auto refuse = [&](const sig::WavShape& shape) {
        rt::error(recording_refusal(file, shape, st));
    };
    sig::Recording rec = sig::wavread_recording(file, refuse);
    // A format chunk after the data may have changed the rate the samples are taken at.
    refuse({rec.Fs, static_cast<double>(rec.y.cols()), static_cast<double>(rec.y.rows()),
            rec.shape.expected});
    if (rec.shape.cut_short())
        rt::warndlg(quoted(file) + " " + rt::utf8(st.rec_cut_short) + "\n" +
                    rt::utf8(st.rec_frames) + " " + whole(rec.shape.expected) + " / " +
                    whole(rec.shape.frames));
    return rec;
}

}  // namespace evaluation

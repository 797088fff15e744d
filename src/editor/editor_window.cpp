#include "editor/editor_window.h"

#include <cmath>

#include "evaluation/read_recording.h"
#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/error.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/value/eigen.h"
#include "runtime/value/num2str.h"
#include "signal/clf.h"

namespace editor {

namespace {

constexpr const char* kRecording = "EditorRecording";
constexpr const char* kRate = "EditorRate";

std::u16string u16(const std::string& s) { return rt::Value(s).text16(); }

std::u16string number_text(double x) { return u16(rt::num2str(x)); }

std::u16string row_text(const std::vector<int>& ch) {
    std::vector<double> d(ch.begin(), ch.end());
    return rt::num2str(rt::Value::row(d)).text16();
}

}  // namespace

EditorTexts EditorTexts::of(const shell::Strings& st) {
    return {st.cut_File, st.wav_files, st.get_file, st.save, st.cancel,  st.cut_next,
            st.cut_done, st.titcut,    st.titera,   st.wait, st.wb_sdiag};
}

EditorTexts EditorTexts::of(const rt::Value& st) {
    auto f = [&](const char* name) { return st.field(name).text16(); };
    return {f("cut_File"), f("wav_files"), f("get_file"), f("save"), f("cancel"),  f("cut_next"),
            f("cut_done"), f("titcut"),    f("titera"),   f("wait"), f("wb_sdiag")};
}

std::vector<int> channel_list(const rt::Value& ch) {
    std::vector<int> out;
    for (double c : rt::toVector(ch)) {
        if (!(c >= 1) || std::floor(c) != c || c > 1e6)
            rt::error("Channels must be given as 1, 2 or [1 2].");
        out.push_back(static_cast<int>(c));
    }
    if (out.empty()) rt::error("Channels must be given as 1, 2 or [1 2].");
    return out;
}

FrameCommands frame_commands(EditorKind kind, rt::Handle figure, const std::u16string& wavfile,
                             const std::vector<int>& ch, double L) {
    const std::u16string fig = number_text(figure);
    const std::u16string quoted = rt::quotedArgument(wavfile);
    FrameCommands c;
    c.cancel = u"set(" + fig + u",'Visible','off','UserData', 1);";
    c.done = u"set(" + fig + u",'Visible','off','UserData', 0);";
    switch (kind) {
        case EditorKind::SpectrogramCut:
            c.save = u"save_wav_cut(" + quoted + u")";
            c.chooser = u"put_wav_filename;";
            break;
        case EditorKind::SpeedCut:
            c.save = u"save_wav_cut(" + quoted + u");";
            c.chooser = u"put_wav_filename;";
            break;
        case EditorKind::Erase:
            c.save =
                u"save_wav_era(" + quoted + u",[" + row_text(ch) + u"]," + number_text(L) + u")";
            c.chooser = u"put_wav_filename([" + row_text(ch) + u"]," + number_text(L) + u");";
            break;
    }
    return c;
}

EditorFrame open_frame(const EditorTexts& st, EditorKind kind,
                       const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS,
                       const std::vector<int>& ch, double L) {
    rt::Graphics& g = rt::graphics();
    const auto main_field = g.withTag(u"wav_file");
    const std::u16string wavfile =
        main_field.empty() ? std::u16string() : rt::get(main_field.front(), "String").text16();
    // Called by name, an editor may be handed a rate the evaluation refuses; the samples in
    // hand may be a cut of the file, so only the rate is held against it.
    const double unknown = std::nan("");
    rt::error(evaluation::recording_refusal(rt::utf8(wavfile),
                                            {FS, static_cast<double>(Y.cols()), unknown, unknown},
                                            shell::text_table()));
    // Big enough to read the spectrogram and the controls' texts on today's screens.
    const rt::ScreenInfo screen = g.screen();
    const rt::Handle fig = rt::makeFigure(
        {{"NumberTitle", "off"},
         {"Name", st.cut_File},
         {"Units", "pixels"},
         {"Position",
          {0.15 * screen.width, 0.15 * screen.height, 0.7 * screen.width, 0.7 * screen.height}}});
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(Y.size()));
    for (Eigen::Index k = 0; k < Y.cols(); ++k)
        samples.insert(samples.end(), Y.col(k).data(), Y.col(k).data() + Y.rows());
    g.setAppData(fig, kRecording,
                 rt::Value::matrix(static_cast<std::size_t>(Y.rows()),
                                   static_cast<std::size_t>(Y.cols()), std::move(samples)));
    g.setAppData(fig, kRate, rt::Value(FS));

    const FrameCommands cmd = frame_commands(kind, fig, wavfile, ch, L);

    sig::clf();
    const rt::Handle ax = rt::makeAxes(fig, {{"Tag", st.cut_File + u"Axes"}});
    rt::hold("on");

    const rt::Prop normalized{"Units", "normalized"};
    rt::makeControl(fig, "frame", {0.03, 0.04, 0.94, 0.07}, {normalized});
    rt::makeControl(fig, "text", {0.035, 0.06, 0.15, 0.03},
                    {normalized, {"HorizontalAlignment", "right"}, {"String", st.wav_files}});
    rt::makeControl(fig, "edit", {0.2, 0.05, 0.365, 0.05},
                    {normalized,
                     {"HorizontalAlignment", "right"},
                     {"Tag", "wav_cut_file"},
                     {"String", wavfile}});
    rt::makeControl(fig, "pushbutton", {0.57, 0.05, 0.04, 0.05},
                    {normalized, {"String", st.get_file}, {"Callback", cmd.chooser}});
    rt::makeControl(fig, "pushbutton", {0.62, 0.05, 0.1, 0.05},
                    {normalized, {"String", st.save}, {"Callback", cmd.save}});
    rt::makeControl(fig, "pushbutton", {0.73, 0.05, 0.13, 0.05},
                    {normalized, {"String", st.cancel}, {"Callback", cmd.cancel}});
    rt::makeControl(fig, "pushbutton", {0.86, 0.05, 0.1, 0.05},
                    {normalized,
                     {"String", kind == EditorKind::SpectrogramCut ? st.cut_next : st.cut_done},
                     {"Callback", cmd.done}});
    if (kind != EditorKind::SpeedCut) rt::setProps(rt::Value(fig), {{"Toolbar", "none"}});
    return {fig, ax};
}

Ended wait_for_user(const EditorTexts& st, rt::Handle figure) {
    rt::waitfor(figure, "Visible", rt::Value("off"));
    Ended e;
    const rt::Handle fig = editor_window(st.cut_File);
    if (fig == 0) return e;
    if (rt::get(rt::Value(fig), "UserData").isTrue()) {
        e.outcome = Outcome::Cancelled;
        rt::close({rt::Value(fig)});
        return e;
    }
    e.outcome = Outcome::Done;
    const auto lim = rt::get(rt::Value(editor_axes(st.cut_File)), "XLim").real();
    e.xlim = {lim.at(0), lim.at(1)};
    return e;
}

void restore_main_window() {
    const auto main = rt::graphics().withTag(u"Main Figure");
    for (rt::Handle m : main) {
        rt::setProps(rt::Value(m), {{"Pointer", "arrow"}});
        rt::setProps(rt::findobj({rt::Value(m), rt::Value("Enable"), rt::Value("inactive")}),
                     {{"Enable", "on"}});
    }
}

rt::Handle editor_window(const std::u16string& cut_File) {
    const rt::Value f = rt::findobj(
        {rt::Value("Type"), rt::Value("figure"), rt::Value("Name"), rt::Value(cut_File)});
    return f.isEmpty() ? 0 : f.at(0);
}

rt::Handle editor_axes(const std::u16string& cut_File) {
    const auto ax = rt::graphics().withTag(cut_File + u"Axes");
    return ax.empty() ? 0 : ax.front();
}

std::vector<Eigen::Index> rows_within(Eigen::Index n, double FS, double a, double b,
                                      bool includeBounds) {
    std::vector<Eigen::Index> rows;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double T = static_cast<double>(i) / FS;
        if (includeBounds ? (a <= T && T <= b) : (a < T && T < b)) rows.push_back(i);
    }
    return rows;
}

Eigen::MatrixXd take_rows(const Eigen::Ref<const Eigen::MatrixXd>& Y,
                          const std::vector<Eigen::Index>& rows) {
    Eigen::MatrixXd out(static_cast<Eigen::Index>(rows.size()), Y.cols());
    for (Eigen::Index c = 0; c < Y.cols(); ++c)
        for (std::size_t k = 0; k < rows.size(); ++k)
            out(static_cast<Eigen::Index>(k), c) = Y(rows[k], c);
    return out;
}

bool held_recording(rt::Handle figure, HeldRecording& out) {
    rt::Graphics& g = rt::graphics();
    if (figure == 0 || !g.isValid(figure) || !g.isAppData(figure, kRecording)) return false;
    out.Y = g.getAppData(figure, kRecording);
    out.FS = g.getAppData(figure, kRate).scalar();
    return true;
}

Eigen::Map<const Eigen::MatrixXd> samples_of(const rt::Value& v, Eigen::MatrixXd& storage) {
    const bool plain = v.isDouble() && !v.isComplex() && v.ndims() == 2;
    if (!plain) storage = rt::toMatrix(v);
    const double* data = plain ? v.re().data() : storage.data();
    return {data, static_cast<Eigen::Index>(plain ? v.rows() : storage.rows()),
            static_cast<Eigen::Index>(plain ? v.cols() : storage.cols())};
}

}  // namespace editor

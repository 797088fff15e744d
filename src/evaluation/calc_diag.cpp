#include "evaluation/calc_diag.h"

#include <cmath>
#include <filesystem>

#include "diagram/plot_diag.h"
#include "evaluation/curves.h"
#include "evaluation/read_recording.h"
#include "runtime/dispatch/error.h"
#include "runtime/fileio/folders.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/host.h"
#include "runtime/value/eigen.h"
#include "runtime/value/num2str.h"
#include "runtime/value/text_ops.h"
#include "shell/get_par.h"
#include "shell/get_wav_filename.h"
#include "shell/panel.h"
#include "shell/strings.h"

namespace evaluation {

namespace {

using Row = Eigen::RowVectorXd;

Row row_of(const rt::Value& v) {
    const std::vector<double> d = v.real();
    return Eigen::Map<const Row>(d.data(), static_cast<Eigen::Index>(d.size()));
}

Eigen::VectorXd column_of(const rt::Value& v) { return row_of(v).transpose(); }

// Busy: a watch pointer, and the main window's enabled controls inactive.
void busy() {
    const rt::Value mfig = shell::tagged("Main Figure");
    if (mfig.isEmpty()) return;
    rt::setProps(mfig, {{"Pointer", "watch"}});
    rt::setProps(rt::findobj({mfig, rt::Value("Enable"), rt::Value("on")}),
                 {{"Enable", "inactive"}});
}

void ready() {
    const rt::Value mfig = shell::tagged("Main Figure");
    if (mfig.isEmpty()) return;
    rt::setProps(mfig, {{"Pointer", "arrow"}});
    rt::setProps(rt::findobj({mfig, rt::Value("Enable"), rt::Value("inactive")}),
                 {{"Enable", "on"}});
}

using namespace shell::par;

struct Slots {
    shell::ParSlots s;
    const rt::Value& operator[](int i) const { return *s[static_cast<std::size_t>(i)]; }
    double num(int i) const { return (*this)[i].scalar(); }
};

// The run from the cache lines under `tag`, or nullopt when there are none.
std::optional<RunSeries> cached(const std::u16string& tag) {
    const rt::Value sd_v = shell::tagged(tag + u"V");
    if (sd_v.isEmpty()) return std::nullopt;
    const rt::Value v_line(sd_v.at(0));
    const rt::Value rpm_line(shell::tagged(tag + u"RPM").at(0));
    return RunSeries{row_of(rt::get(v_line, "XData")), row_of(rt::get(v_line, "YData")),
                     row_of(rt::get(rpm_line, "YData"))};
}

void store(const std::u16string& tag, const RunSeries& run) {
    const rt::Value cache = shell::tagged("Saved Data");
    const rt::Value mfig = shell::tagged("Main Figure");
    if (cache.isEmpty()) return;
    const rt::Handle ax = cache.at(0);
    if (!mfig.isEmpty()) rt::setProps(mfig, {{"CurrentAxes", ax}});
    const rt::Value t = rt::fromMatrix(run.t);
    rt::makeLine(ax, {{"XData", t}, {"YData", rt::fromMatrix(run.v)}, {"Tag", tag + u"V"}});
    rt::makeLine(ax, {{"XData", t}, {"YData", rt::fromMatrix(run.rpm)}, {"Tag", tag + u"RPM"}});
}

void drop_missing_rpm(RunSeries& run) {
    Eigen::Index k = 0;
    for (Eigen::Index i = 0; i < run.rpm.size(); ++i)
        if (!std::isnan(run.rpm(i))) {
            run.t(k) = run.t(i);
            run.v(k) = run.v(i);
            run.rpm(k) = run.rpm(i);
            ++k;
        }
    run.t.conservativeResize(k);
    run.v.conservativeResize(k);
    run.rpm.conservativeResize(k);
}

void evaluate(const EditorCalls& editors) {
    const shell::Strings& st = shell::text_table();
    std::u16string wavfile = shell::string_of("wav_file");
    if (wavfile.empty()) {
        shell::get_wav_filename();
        if (!shell::string_of("wav_file").empty()) calc_diag(editors);
        return;
    }
    if (!std::filesystem::exists(std::filesystem::path(rt::utf8(wavfile)))) {
        rt::errordlg(rt::utf8(st.file_not_f + u"\n" + wavfile), rt::utf8(st.file_error));
        return;
    }
    Slots par{shell::read_par()};

    const std::u16string key =
        all_par_str(par[r], par[u], par[l], par[ur], par[W], par[sig_ch1], par[sig_ch2]);
    // Taken before the recording is read: a file written on or replaced meanwhile does not
    // lend its state to what was read before.
    std::string state = rt::fileStateKey(rt::utf8(wavfile));
    std::optional<RunSeries> run = cached(saved_data_tag(wavfile, key, state));
    if (!run) {
        ChannelParams cp;
        cp.r = par.num(r), cp.u = par.num(u), cp.l = par.num(l), cp.ur = par.num(ur);
        cp.W = par.num(W), cp.mr = par.num(mr), cp.Mr = par.num(Mr);
        cp.sig_ch1 = static_cast<int>(par.num(sig_ch1));
        cp.sig_ch2 = static_cast<int>(par.num(sig_ch2));
        cp.cut = shell::value_of("cut_File") == 1;
        const ChannelCalls calls = channel_calls(editors, st);
        // The editors take the whole recording (and the file is not held open while they
        // wait for the user); without them each conversion reads its own channel.
        std::variant<sig::WavSource, sig::Recording> recording =
            cp.cut ? read_recording(rt::utf8(wavfile), st) : open_recording(rt::utf8(wavfile), st);
        if (const auto* source = std::get_if<sig::WavSource>(&recording)) {
            run = channel_table(*source, cp, st, calls);
        } else {
            sig::Recording& rec = std::get<sig::Recording>(recording);
            run = channel_table(std::move(rec.y), rec.Fs, cp, st, calls);
        }
        if (!run) return;
        drop_missing_rpm(*run);
        // An editor may have saved the recording under a new name: the run is stored under it.
        if (std::u16string saved = shell::string_of("wav_file"); saved != wavfile) {
            wavfile = std::move(saved);
            state = rt::fileStateKey(rt::utf8(wavfile));
        }
        store(saved_data_tag(wavfile, key, state), *run);
    }

    Physics ph;
    ph.m = par.num(m), ph.cw = par.num(cw), ph.u = par.num(u), ph.fl = par.num(fl);
    ph.J = par.num(J), ph.ur = par.num(ur), ph.A = par.num(A), ph.T = par.num(T);
    ph.p = par.num(P);
    if (!par[fro].isEmpty()) ph.fro = par.num(fro);
    ph.cutvmax = par.num(cutvmax) == 1;
    ph.drum =
        drum_on_a_channel(static_cast<int>(par.num(sig_ch1)), static_cast<int>(par.num(sig_ch2)));
    const Curves c = curves(std::move(*run), ph);

    const int xv = static_cast<int>(par.num(xaxis)), yv = static_cast<int>(par.num(yaxis));
    const auto [x, y] = axes_choice(c, xv, yv);
    const std::vector<double> colour =
        shell::get_tagged("set_sdiag_color", "BackgroundColor").real();
    if (colour.size() != 3) rt::error("The diagram colour must be an RGB triple.");
    diagram::plot_diag(std::vector<double>(x.data(), x.data() + x.size()), y,
                       rt::Rgb{colour[0], colour[1], colour[2]},
                       shell::string_of("comment_spect_diag"), xv, yv, c.k, std::nullopt, state);
}

}  // namespace

std::u16string all_par_str(const rt::Value& r, const rt::Value& u, const rt::Value& l,
                           const rt::Value& ur, const rt::Value& W, const rt::Value& sig_ch1,
                           const rt::Value& sig_ch2) {
    std::u16string s;
    for (const rt::Value* v : {&r, &u, &l, &ur, &W, &sig_ch1, &sig_ch2})
        s += rt::num2str(*v).text16();
    return s;
}

std::u16string saved_data_tag(const std::u16string& wavfile, const std::u16string& all_par_str,
                              const std::string& file_state) {
    return u"Saved Data" + wavfile + all_par_str + rt::utf16(file_state);
}

void EditorCalls::bind(const rt::FunctionTable& t) {
    entries_.clear();
    for (const char* name : {"cut_file_spect", "era_file_spect", "cut_file_digi"})
        if (const rt::FunctionEntry* e = t.find(name)) entries_.emplace(name, *e);
}

rt::Values EditorCalls::call(const std::string& name, const rt::Values& in, int nargout) const {
    const auto it = entries_.find(name);
    if (it == entries_.end()) rt::error(rt::unknownFunctionMessage(name));
    return rt::FunctionTable::invoke(it->second, in, nargout);
}

ChannelCalls channel_calls(const EditorCalls& editors, const shell::Strings& st) {
    ChannelCalls c;
    c.wav2v = [](const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double n, double L,
                 double mr, double Mr, const Track& track) {
        if (track.f.size() > 0) return wav2v(track.f, track.t, n);
        return wav2v(Y, FS, n, L, mr, Mr);
    };
    const Dig2vTexts texts{st.wait, st.wb_sdiag};
    c.dig2v = [texts](Eigen::Index samples, const sig::SampleReader& read, double FS, double a,
                      double b) { return dig2v(samples, read, FS, a, b, texts); };
    const rt::Value stv = shell::to_value(st);
    const auto ch_value = [](const std::vector<int>& ch) {
        return rt::Value::row(std::vector<double>(ch.begin(), ch.end()));
    };
    c.cut_file_spect = [&editors, stv, ch_value](const Eigen::MatrixXd& Y, double FS,
                                                 const std::vector<int>& ch, double L, double mr,
                                                 double Mr) -> std::optional<Eigen::MatrixXd> {
        const rt::Values out = editors.call(
            "cut_file_spect", {rt::fromMatrix(Y), FS, ch_value(ch), L, stv, mr, Mr}, 2);
        if (!out[1].isTrue()) return std::nullopt;
        return rt::toMatrix(out[0]);
    };
    c.era_file_spect = [&editors, stv, ch_value](const Eigen::MatrixXd& Y, double FS,
                                                 const std::vector<int>& ch, double L, double mr,
                                                 double Mr) -> std::optional<ChannelCalls::Erased> {
        const rt::Values out = editors.call(
            "era_file_spect", {rt::fromMatrix(Y), FS, ch_value(ch), L, stv, mr, Mr}, 4);
        if (!out[1].isTrue()) return std::nullopt;
        return ChannelCalls::Erased{rt::toMatrix(out[0]),
                                    Track{column_of(out[2]), column_of(out[3])}};
    };
    c.cut_file_digi = [&editors, stv, ch_value](
                          const Eigen::MatrixXd& Y, double FS, double a, double b,
                          const std::vector<int>& ch) -> std::optional<Eigen::MatrixXd> {
        rt::Values in{rt::fromMatrix(Y), FS, a, b, stv};
        if (!ch.empty()) in.push_back(ch_value(ch));
        const rt::Values out = editors.call("cut_file_digi", in, 2);
        if (!out[1].isTrue()) return std::nullopt;
        return rt::toMatrix(out[0]);
    };
    return c;
}

void calc_diag(const EditorCalls& editors) {
    busy();
    try {
        evaluate(editors);
    } catch (const shell::FieldNotANumber&) {
        // get_par's dialog has named the field: what failed on it ends the callback, whose
        // error goes to standard error only.
        ready();
        throw;
    } catch (const std::exception& e) {
        rt::errordlg(rt::caught(e));
    }
    ready();
}

std::shared_ptr<EditorCalls> register_calc_diag(rt::FunctionTable& table) {
    auto editors = std::make_shared<EditorCalls>();
    table.add("calc_diag", 0, 0, [editors](const rt::Values&, int) {
        calc_diag(*editors);
        return rt::Values{};
    });
    return editors;
}

}  // namespace evaluation

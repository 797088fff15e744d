// The tone-track path of an evaluation as the program runs it: wavread -> mean of the channels
// -> resample to 8820 Hz -> specgram at the 1501 band frequencies -> peak per slice, called by
// name through the program's function table, beside the same steps through the typed C++
// functions, the spectrogram stage alone and its FFT floor (one forward and one inverse
// transform of the chirp-z length per slice, through the plans the spectrogram uses).
//
// Recordings: 30 s and 120 s, 16-bit at 44.1 kHz and float at 48 kHz, stereo, and 20 s of float
// mono at 44.1 kHz. They are written
// to a temporary folder, or read from $TONE_PATH_DIR (tone_path.py writes them there, so that
// numpy/scipy read the very same files). Counters: the first call of the process once its
// start-up work is done, as when the user first presses calculate (first_ms, CPU time of the
// calling thread; first_faults, its minor page faults), minor page faults per later call, and
// the growth of the
// resident set during the first call against the size of the decoded recording in doubles
// (peak_x_doubles).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine_tone.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/large_buffers.h"
#include "runtime/numeric/fft.h"
#include "runtime/value/eigen.h"
#include "signal/czt.h"
#include "signal/resample.h"
#include "signal/specgram.h"
#include "signal/wavread.h"
#include "signal/wavwrite.h"

namespace {

constexpr double kFac = 8820;

struct Case {
    const char* name;
    double seconds;
    double fs;
    double bits;  // 32: IEEE float
    int channels;
};
const Case kCases[] = {{"20s_44k_float_mono", 20, 44100, 32, 1},
                       {"30s_44k_int16", 30, 44100, 16, 2},
                       {"30s_48k_float", 30, 48000, 32, 2},
                       {"120s_44k_int16", 120, 44100, 16, 2},
                       {"120s_48k_float", 120, 48000, 32, 2}};

// The benchmarks' engine tone, kept inside the 16-bit range; mono is its left channel.
Eigen::MatrixXd tone(const Case& c) {
    const Eigen::MatrixXd y = bench::engineTone(c.fs, c.seconds).cwiseMax(-0.99).cwiseMin(0.99);
    return y.leftCols(c.channels);
}

std::string recording(const Case& c) {
    // Never destroyed, so that the exit handler still finds it (a handler registered while
    // a static is made runs after that static is gone).
    static const std::filesystem::path* dir = [] {
        if (const char* d = std::getenv("TONE_PATH_DIR")) return new std::filesystem::path(d);
        auto* p = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                            ("bench_tone_path_" + std::to_string(getpid())));
        std::filesystem::create_directories(*p);
        std::atexit([] { std::filesystem::remove_all(*dir); });
        return p;
    }();
    const auto file = *dir / (std::string(c.name) + ".wav");
    if (!std::filesystem::exists(file)) sig::wavwrite(tone(c), c.fs, c.bits, file.string());
    return file.string();
}

// The program's entries of the three functions (the same adapters as its table holds).
const rt::FunctionTable& table() {
    static const rt::FunctionTable t = [] {
        rt::FunctionTable f;
        sig::register_wavread(f);
        sig::register_resample(f);
        sig::register_specgram(f);
        return f;
    }();
    return t;
}

// The mean of a value's columns as a new column value, read in place from its elements.
rt::Value channelMean(const rt::Value& Y) {
    const std::size_t n = Y.rows(), ch = Y.cols();
    const std::vector<double>& d = Y.re();
    std::vector<double> m(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t c = 1; c < ch; ++c)
        for (std::size_t i = 0; i < n; ++i) m[i] += d[c * n + i];
    for (double& x : m) x /= static_cast<double>(ch);
    return rt::Value::column(std::move(m));
}

// Index of the largest magnitude per column of a complex value (the first of equal ones).
std::vector<double> peaks(const rt::Value& B, const rt::Value& F) {
    const std::size_t rows = B.rows(), cols = B.cols();
    const std::vector<double>&re = B.re(), &im = B.im();
    std::vector<double> track(cols);
    for (std::size_t c = 0; c < cols; ++c) {
        std::size_t best = 0;
        double bestMag = -1;
        for (std::size_t r = 0; r < rows; ++r) {
            const std::size_t k = c * rows + r;
            const double mag = re[k] * re[k] + im[k] * im[k];
            if (mag > bestMag) bestMag = mag, best = r;
        }
        track[c] = F.at(best);
    }
    return track;
}

rt::Value resampledMeanFree(const std::string& file) {
    const rt::FunctionTable& t = table();
    const rt::Values w = t.call("wavread", {rt::Value(file)}, 2);
    rt::Value y = channelMean(w[0]);
    const double FS = w[1].scalar();
    if (FS != kFac) y = t.call("resample", {y, rt::Value(kFac), rt::Value(FS)}, 1)[0];
    std::vector<double>& v = y.re();
    double mean = 0;
    for (double x : v) mean += x;
    mean /= static_cast<double>(v.size());
    for (double& x : v) x -= mean;
    return y;
}

rt::Values specgramByName(const rt::Value& y) {
    static const rt::Value freq = rt::fromMatrix(bench::bandFrequencies());
    const double noverlap = bench::noverlapFor(static_cast<double>(y.numel()));
    return table().call("specgram",
                        {y, freq, rt::Value(kFac), rt::Value(3528.0), rt::Value(noverlap)}, 3);
}

std::vector<double> tonePathByName(const std::string& file) {
    const rt::Values s = specgramByName(resampledMeanFree(file));
    return peaks(s[0], s[1]);
}

Eigen::VectorXd tonePathTyped(const std::string& file) {
    const sig::Recording r = sig::wavread_recording(file);
    return bench::typedTrack(r.y.rowwise().mean(), r.Fs);
}

long minorFaults() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

// kB from /proc/self/status ("VmRSS", "VmHWM").
double statusKb(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::stod(line.substr(key.size() + 1));
    return 0;
}

// CPU time of the calling thread (user and system), so that planning on another thread or
// other load on the machine does not count.
double threadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return 1e3 * static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_nsec);
}

// Runs `f` in the timing loop; the process's first call of each case is timed apart, with
// the growth of the resident set it causes.
template <class F>
void runPath(benchmark::State& state, const Case& c, const char* path, F f) {
    const std::string file = recording(c);
    struct First {
        double ms, faults, peakMB;
    };
    static std::map<std::string, First> first;
    const std::string key = std::string(path) + c.name;
    if (!first.count(key)) {
        std::ofstream("/proc/self/clear_refs") << "5";  // resets VmHWM
        const double rss = statusKb("VmRSS");
        const long f0 = minorFaults();
        const double t0 = threadMs();
        benchmark::DoNotOptimize(f(file));
        first[key] = {threadMs() - t0, static_cast<double>(minorFaults() - f0),
                      (statusKb("VmHWM") - rss) / 1024};
    }
    const long faults = minorFaults();
    for (auto _ : state) benchmark::DoNotOptimize(f(file));
    const double doublesMB = c.fs * c.seconds * c.channels * 8 / 1048576;
    state.counters["first_ms"] = first[key].ms;
    state.counters["first_faults"] = first[key].faults;
    state.counters["faults_per_call"] =
        static_cast<double>(minorFaults() - faults) / static_cast<double>(state.iterations());
    state.counters["peak_x_doubles"] = first[key].peakMB / doublesMB;
}

void BM_TonePathByName(benchmark::State& state, const Case* c) {
    runPath(state, *c, "name", tonePathByName);
}
void BM_TonePathTyped(benchmark::State& state, const Case* c) {
    runPath(state, *c, "typed", tonePathTyped);
}

void BM_SpecgramByName(benchmark::State& state, const Case* c) {
    const rt::Value y = resampledMeanFree(recording(*c));
    specgramByName(y);
    for (auto _ : state) benchmark::DoNotOptimize(specgramByName(y));
    state.counters["slices"] = static_cast<double>(specgramByName(y)[0].cols());
}

// One forward and one inverse FFT of the chirp-z length per slice of the case.
void BM_FftFloor(benchmark::State& state, const Case* c) {
    const Eigen::Index n = sig::cztFftLength(3528, 1501);
    const rt::FftPlan forward = rt::fftPlan(n, false), inverse = rt::fftPlan(n, true);
    rt::FftBuffer a(n), b(n);
    for (Eigen::Index i = 0; i < n; ++i) a.data()[i] = std::sin(double(i));
    const double samples = std::ceil(c->seconds * kFac);
    const double noverlap = bench::noverlapFor(samples);
    const auto slices = static_cast<Eigen::Index>((samples - noverlap) / (3528 - noverlap));
    for (auto _ : state) {
        for (Eigen::Index s = 0; s < slices; ++s) {
            forward.execute(a.data(), b.data());
            inverse.execute(b.data(), a.data());
            for (Eigen::Index i = 0; i < n; ++i) a.data()[i] *= 1.0 / double(n);
        }
        benchmark::DoNotOptimize(a.data());
    }
    state.counters["slices"] = static_cast<double>(slices);
}

void BM_WavreadByName(benchmark::State& state, const Case* c) {
    const std::string file = recording(*c);
    for (auto _ : state) benchmark::DoNotOptimize(table().call("wavread", {rt::Value(file)}, 2));
}

void BM_WavreadTyped(benchmark::State& state, const Case* c) {
    const std::string file = recording(*c);
    for (auto _ : state) benchmark::DoNotOptimize(sig::wavread_recording(file));
}

}  // namespace

int main(int argc, char** argv) {
    // As the program starts: the heap kept for large buffers, the analysis's FFT lengths
    // planned on a background thread with the wisdom of earlier runs (tone_path.py's first
    // process writes it; later ones read it, as later sessions do). Memory is taken as used,
    // so the first call's growth of the resident set shows the path's peak memory.
    rt::useHeapForLargeBuffers(64u << 20, 48u << 20);
    const std::filesystem::path wisdom =
        std::filesystem::path(recording(kCases[0])).parent_path() / "fftw-wisdom";
    const std::vector<Eigen::Index> lengths{sig::cztFftLength(3528, 1501),
                                            sig::cztFftLength(3528, 301)};
    rt::prepareFftPlans(lengths, wisdom.string());
    // The user takes a moment to choose a recording: let the start-up planning end first.
    rt::finishFftPlanning();
    benchmark::Initialize(&argc, argv);
    using Fn = void (*)(benchmark::State&, const Case*);
    const std::pair<const char*, Fn> kinds[] = {
        {"TonePathByName/", BM_TonePathByName}, {"TonePathTyped/", BM_TonePathTyped},
        {"SpecgramByName/", BM_SpecgramByName}, {"FftFloor/", BM_FftFloor},
        {"WavreadByName/", BM_WavreadByName},   {"WavreadTyped/", BM_WavreadTyped}};
    for (const Case& c : kCases)
        for (const auto& [name, fn] : kinds)
            benchmark::RegisterBenchmark((name + std::string(c.name)).c_str(), fn, &c)
                ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

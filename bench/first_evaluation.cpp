// The first evaluation of a process, by name ("calc_diag", cache miss, 60 s stereo tone at
// 44.1 kHz), started 0.5 s or 3 s after the program's start-up preparations, with no FFT
// wisdom yet (a first start) and with the wisdom a first start leaves (every later start),
// beside the resident memory of the process before the evaluation, at its peak during it and
// after it. Each run is a fresh process: this program starts itself with --one. One run a
// case; --benchmark_repetitions=5 gives medians.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "apps/rovantel_function_table.h"
#include "engine_tone.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "shell/prepare_evaluations.h"
#include "shell/strings.h"
#include "signal/wavwrite.h"

namespace shell {
const Strings& text_table() { return german_table(); }
}  // namespace shell

namespace {

namespace fs = std::filesystem;
using clk = std::chrono::steady_clock;

// MB from /proc/self/status ("VmRSS", "VmHWM").
double statusMB(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024;
    return 0;
}

// One process: start as the program starts, wait, evaluate once; prints
// "ms idle_MB peak_MB after_MB". `wheel`: wheel sensors on the right channel.
int runOne(double delay, const std::string& recording, const std::string& cacheHome, bool wheel) {
    setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
    const clk::time_point start = clk::now();
    shell::prepare_evaluations();
    rt::FunctionTable table = apps::rovantel_function_table();
    rt::FunctionTable builtins;
    rt::register_graphics_builtins(builtins);
    rt::CallbackInterpreter interp(table, &builtins);
    rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
    interp.eval("rovantel");
    shell::set_tagged("wav_file", "String", rt::Value(recording));
    shell::set_tagged("cut_File", "Value", rt::Value(0.0));
    shell::set_tagged("popup_sig_ch2", "Value", rt::Value(wheel ? 2.0 : 1.0));
    std::this_thread::sleep_until(start + std::chrono::duration<double>(delay));
    const double idle = statusMB("VmRSS");
    std::ofstream("/proc/self/clear_refs") << "5";  // resets VmHWM
    const clk::time_point t0 = clk::now();
    interp.eval("calc_diag");
    const double ms = std::chrono::duration<double, std::milli>(clk::now() - t0).count();
    std::printf("%.3f %.1f %.1f %.1f\n", ms, idle, statusMB("VmHWM"), statusMB("VmRSS"));
    return 0;
}

struct Result {
    double ms = 0, idle = 0, peak = 0, after = 0;
};

Result spawnOne(double delay, const std::string& recording, const std::string& cacheHome) {
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string out = cacheHome + "/out.txt";
    const std::string cmd = "'" + self + "' --one " + std::to_string(delay) + " '" + recording +
                            "' '" + cacheHome + "' > '" + out + "'";
    if (std::system(cmd.c_str()) != 0) return {};
    Result r;
    std::ifstream in(out);
    in >> r.ms >> r.idle >> r.peak >> r.after;
    return r;
}

// The recording and the cache folders, removed at exit (never destroyed, so that the exit
// handler still finds the name).
const fs::path& folder() {
    static const fs::path* dir = [] {
        auto* d =
            new fs::path(fs::temp_directory_path() / ("bench_first_" + std::to_string(getpid())));
        fs::create_directories(*d);
        const Eigen::MatrixXd y = bench::engineTone(44100, 60).cwiseMax(-0.99).cwiseMin(0.99);
        sig::wavwrite(y, 44100, 16, (*d / "run.wav").string());
        std::atexit([] { fs::remove_all(folder()); });
        return d;
    }();
    return *dir;
}

// Args: the delay in ms, and 1 for warm wisdom.
void BM_FirstEvaluation(benchmark::State& state) {
    const double delay = static_cast<double>(state.range(0)) / 1000;
    const bool warm = state.range(1) == 1;
    const std::string recording = (folder() / "run.wav").string();
    const fs::path warmCache = folder() / "warm";
    if (warm && !fs::exists(warmCache / "rovantel" / "fftw-wisdom")) {
        fs::create_directories(warmCache);
        spawnOne(3, recording, warmCache.string());  // a first start leaves its wisdom
    }
    Result sum;
    int n = 0;
    for (auto _ : state) {
        const fs::path cache = folder() / ("cache" + std::to_string(n));
        fs::remove_all(cache);
        if (warm)
            fs::copy(warmCache, cache, fs::copy_options::recursive);
        else
            fs::create_directories(cache);
        const Result r = spawnOne(delay, recording, cache.string());
        state.SetIterationTime(r.ms / 1000);
        sum.idle += r.idle, sum.peak += r.peak, sum.after += r.after;
        ++n;
        fs::remove_all(cache);
    }
    state.counters["idle_MB"] = sum.idle / n;
    state.counters["peak_MB"] = sum.peak / n;
    state.counters["after_MB"] = sum.after / n;
}
BENCHMARK(BM_FirstEvaluation)
    ->Args({500, 0})
    ->Args({3000, 0})
    ->Args({500, 1})
    ->Args({3000, 1})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // --one DELAY_S RECORDING CACHE_HOME [wheel]: one evaluation in this process.
    if (argc >= 5 && std::string(argv[1]) == "--one")
        return runOne(std::atof(argv[2]), argv[3], argv[4],
                      argc > 5 && std::string(argv[5]) == "wheel");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

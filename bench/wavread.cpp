// Reading a 10-minute stereo 16-bit 44.1 kHz recording (about 106 MB) with wavread, beside
// a plain read of the same bytes (what `cat file > /dev/null` does). The samples become
// 423 MB of doubles, so the first touch of that memory is part of the cold figure.
#include "signal/wavread.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "signal/wavwrite.h"

namespace {

// Never destroyed, so that the exit handler still finds the name (a handler registered while
// a static is made runs after that static is gone).
const std::string& recording() {
    static const std::string* path = [] {
        auto* p = new std::string((std::filesystem::temp_directory_path() /
                                   ("bench_wavread_" + std::to_string(getpid()) + ".wav"))
                                      .string());
        const Eigen::Index n = 600 * 44100;
        Eigen::MatrixXd y(n, 2);
        for (Eigen::Index i = 0; i < n; ++i) {
            double t = static_cast<double>(i) / 44100;
            y(i, 0) = 0.5 * std::sin(2 * M_PI * 440 * t);
            y(i, 1) = 0.3 * std::sin(2 * M_PI * 97 * t * (1 + t / 600));
        }
        sig::wavwrite(y, 44100, 16, *p);
        std::atexit([] { std::filesystem::remove(*path); });
        return p;
    }();
    return *path;
}

void BM_wavread_10min_stereo16(benchmark::State& state) {
    const std::string& path = recording();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        sig::Recording r = sig::wavread_recording(path);
        benchmark::DoNotOptimize(r.y.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_wavread_10min_stereo16)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same read once freed memory stays with the process: what remains is the reader's
// own work, without the first touch of 423 MB of fresh pages for the doubles.
void BM_wavread_10min_stereo16_warm_memory(benchmark::State& state) {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    sig::wavread_recording(recording());  // leaves its pages behind for the timed reads
    BM_wavread_10min_stereo16(state);
}
BENCHMARK(BM_wavread_10min_stereo16_warm_memory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_plain_read_same_file(benchmark::State& state) {
    const std::string& path = recording();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    std::vector<char> buf(1 << 17);
    for (auto _ : state) {
        int fd = open(path.c_str(), O_RDONLY);
        while (read(fd, buf.data(), buf.size()) > 0) {
        }
        close(fd);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_plain_read_same_file)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

#include "runtime/numeric/fft.h"

#include <fftw3.h>

#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

// FFTW's planner is not thread-safe; execution with new arrays is.
struct PlanCache {
    std::mutex mutex;
    std::map<std::pair<Eigen::Index, bool>, fftw_plan> plans;
    int alignment = 0;  // fftw_alignment_of the planning buffers

    fftw_plan get(Eigen::Index n, bool inverse) {
        std::lock_guard<std::mutex> lock(mutex);
        auto key = std::make_pair(n, inverse);
        auto it = plans.find(key);
        if (it != plans.end()) return it->second;
        auto* buf = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * n));
        alignment = fftw_alignment_of(reinterpret_cast<double*>(buf));
        // Measuring pays off for the power-of-two lengths the spectrogram repeats;
        // odd lengths are rare and would cost long planning.
        const bool pow2 = (n & (n - 1)) == 0;
        const unsigned flags = (pow2 && n <= (1 << 16)) ? FFTW_MEASURE : FFTW_ESTIMATE;
        fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(n), buf, buf,
                                          inverse ? FFTW_BACKWARD : FFTW_FORWARD, flags);
        fftw_free(buf);
        if (!plan) rt::error("fft: no transform plan for length " + std::to_string(n) + ".");
        plans.emplace(key, plan);
        return plan;
    }
};

PlanCache& cache() {
    static PlanCache c;
    return c;
}

Eigen::MatrixXcd transform(const Eigen::MatrixXcd& y, Eigen::Index n, bool inverse) {
    if (n < 0) rt::error("fft: the transform length must not be negative.");
    Eigen::MatrixXcd out = Eigen::MatrixXcd::Zero(n, y.cols());
    const Eigen::Index copy = std::min(n, y.rows());
    if (copy > 0) out.topRows(copy) = y.topRows(copy);
    fftInPlace(out.data(), n, out.cols(), inverse);
    if (inverse && n > 0) out /= static_cast<double>(n);
    return out;
}

}  // namespace

void fftInPlace(std::complex<double>* data, Eigen::Index n, Eigen::Index cols, bool inverse) {
    if (n <= 0 || cols <= 0) return;
    fftw_plan plan = cache().get(n, inverse);
    const int alignment = cache().alignment;
    fftw_complex* scratch = nullptr;
    for (Eigen::Index c = 0; c < cols; ++c) {
        auto* col = reinterpret_cast<fftw_complex*>(data + c * n);
        if (fftw_alignment_of(reinterpret_cast<double*>(col)) == alignment) {
            fftw_execute_dft(plan, col, col);
            continue;
        }
        // A column that is not aligned like the plan's buffer goes through an aligned copy.
        if (!scratch) scratch = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * n));
        std::memcpy(scratch, col, sizeof(fftw_complex) * n);
        fftw_execute_dft(plan, scratch, scratch);
        std::memcpy(col, scratch, sizeof(fftw_complex) * n);
    }
    if (scratch) fftw_free(scratch);
}

Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y, Eigen::Index n) { return transform(y, n, false); }
Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y) { return transform(y, y.rows(), false); }
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y, Eigen::Index n) { return transform(y, n, true); }
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y) { return transform(y, y.rows(), true); }

}  // namespace rt

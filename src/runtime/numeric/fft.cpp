#include "runtime/numeric/fft.h"

#include <fftw3.h>

#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/fileio/regular_file.h"

namespace rt {

namespace {

// FFTW's planner (planning, destroying plans, wisdom) is not thread-safe; executing a plan on
// new arrays is. Every planner call holds this lock.
std::mutex& plannerMutex() {
    static std::mutex m;
    return m;
}

struct Plan {
    fftw_plan plan = nullptr;
    int alignment = 0;  // fftw_alignment_of the planning buffer: arrays must match it
    ~Plan() {
        std::lock_guard<std::mutex> lock(plannerMutex());
        fftw_destroy_plan(plan);
    }
};

using Key = std::pair<Eigen::Index, bool>;  // length, inverse

// Plans by length and direction, the least recently used dropped beyond kMaxFftPlans (callers
// that still execute a dropped plan keep it alive through their reference). Freed with FFTW's
// own state at exit.
class PlanCache {
public:
    // The planner's lock is made first, so that it outlives the cache at exit.
    PlanCache() { plannerMutex(); }

    ~PlanCache() {
        if (worker_.joinable()) worker_.join();
        std::lock_guard<std::mutex> lock(mutex_);
        lru_.clear();
        plans_.clear();
        std::lock_guard<std::mutex> planner(plannerMutex());
        fftw_cleanup();
    }

    std::shared_ptr<const Plan> get(Eigen::Index n, bool inverse) {
        const Key key{n, inverse};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (auto p = findLocked(key)) return p;
        }
        // Planning takes long; lookups of other lengths go on meanwhile. A plan the start-up
        // thread is making for the same length is found after waiting for the planner.
        std::shared_ptr<const Plan> plan = makePlan(n, inverse);
        std::lock_guard<std::mutex> lock(mutex_);
        if (auto p = findLocked(key)) return p;
        insertLocked(key, plan);
        return plan;
    }

    void prepare(std::vector<Eigen::Index> lengths, std::string wisdomFile) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (prepared_) return;
        prepared_ = true;
        worker_ = std::thread([this, lengths = std::move(lengths), file = std::move(wisdomFile)] {
            try {
                // A FIFO or device by that name would block the reader: only files are read.
                if (!file.empty() && notARegularFile(file).empty()) {
                    std::lock_guard<std::mutex> planner(plannerMutex());
                    fftw_import_wisdom_from_filename(file.c_str());
                }
                for (Eigen::Index n : lengths)
                    for (bool inverse : {false, true}) get(n, inverse);
                if (!file.empty()) saveWisdom(file);
            } catch (...) {
                // A length that cannot be planned is planned again, and reported, when used.
            }
        });
    }

    void release() {
        if (worker_.joinable()) worker_.join();
        std::lock_guard<std::mutex> lock(mutex_);
        lru_.clear();
        plans_.clear();
    }

    std::size_t size() {
        std::lock_guard<std::mutex> lock(mutex_);
        return plans_.size();
    }

private:
    std::shared_ptr<const Plan> findLocked(const Key& key) {
        auto it = plans_.find(key);
        if (it == plans_.end()) return nullptr;
        lru_.splice(lru_.begin(), lru_, it->second.second);
        return it->second.first;
    }

    void insertLocked(const Key& key, std::shared_ptr<const Plan> plan) {
        lru_.push_front(key);
        plans_.emplace(key, std::make_pair(std::move(plan), lru_.begin()));
        while (plans_.size() > kMaxFftPlans) {
            plans_.erase(lru_.back());
            lru_.pop_back();
        }
    }

    static std::shared_ptr<const Plan> makePlan(Eigen::Index n, bool inverse) {
        auto plan = std::make_shared<Plan>();
        std::lock_guard<std::mutex> planner(plannerMutex());
        auto* buf = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * n));
        plan->alignment = fftw_alignment_of(reinterpret_cast<double*>(buf));
        // Measuring pays off for the power-of-two lengths the spectrogram repeats;
        // odd lengths are rare and would cost long planning.
        const bool pow2 = (n & (n - 1)) == 0;
        const unsigned flags = (pow2 && n <= (1 << 16)) ? FFTW_MEASURE : FFTW_ESTIMATE;
        plan->plan = fftw_plan_dft_1d(static_cast<int>(n), buf, buf,
                                      inverse ? FFTW_BACKWARD : FFTW_FORWARD, flags);
        fftw_free(buf);
        if (!plan->plan) rt::error("fft: no transform plan for length " + std::to_string(n) + ".");
        return plan;
    }

    static void saveWisdom(const std::string& file) {
        std::string text;
        {
            std::lock_guard<std::mutex> planner(plannerMutex());
            char* w = fftw_export_wisdom_to_string();
            if (!w) return;
            text = w;
            fftw_free(w);
        }
        saveFileAtomically(file, text);
    }

    std::mutex mutex_;
    std::map<Key, std::pair<std::shared_ptr<const Plan>, std::list<Key>::iterator>> plans_;
    std::list<Key> lru_;  // most recently used first
    std::thread worker_;
    bool prepared_ = false;
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
    const std::shared_ptr<const Plan> plan = cache().get(n, inverse);
    fftw_complex* scratch = nullptr;
    for (Eigen::Index c = 0; c < cols; ++c) {
        auto* col = reinterpret_cast<fftw_complex*>(data + c * n);
        if (fftw_alignment_of(reinterpret_cast<double*>(col)) == plan->alignment) {
            fftw_execute_dft(plan->plan, col, col);
            continue;
        }
        // A column that is not aligned like the plan's buffer goes through an aligned copy.
        if (!scratch) scratch = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * n));
        std::memcpy(scratch, col, sizeof(fftw_complex) * n);
        fftw_execute_dft(plan->plan, scratch, scratch);
        std::memcpy(col, scratch, sizeof(fftw_complex) * n);
    }
    if (scratch) fftw_free(scratch);
}

void prepareFftPlans(std::vector<Eigen::Index> lengths, std::string wisdomFile) {
    cache().prepare(std::move(lengths), std::move(wisdomFile));
}

void releaseFftPlans() { cache().release(); }

std::size_t fftPlanCount() { return cache().size(); }

Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y, Eigen::Index n) { return transform(y, n, false); }
Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y) { return transform(y, y.rows(), false); }
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y, Eigen::Index n) { return transform(y, n, true); }
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y) { return transform(y, y.rows(), true); }

}  // namespace rt

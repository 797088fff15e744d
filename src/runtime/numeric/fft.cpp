#include "runtime/numeric/fft.h"

#include <fftw3.h>

#include <atomic>
#include <cstring>
#include <initializer_list>
#include <list>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>
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

fftw_complex* fftwArray(Eigen::Index n) {
    return static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * std::size_t(n)));
}

struct Key {
    Eigen::Index n;
    bool inverse;
    bool inPlace;
    bool operator<(const Key& o) const {
        return std::tie(n, inverse, inPlace) < std::tie(o.n, o.inverse, o.inPlace);
    }
};

}  // namespace

struct FftPlanData {
    fftw_plan plan = nullptr;
    int alignment = 0;  // fftw_alignment_of the planning buffers: arrays must match it
    bool measured = false;
    ~FftPlanData() {
        std::lock_guard<std::mutex> lock(plannerMutex());
        fftw_destroy_plan(plan);
    }
};

namespace {

using PlanPtr = std::shared_ptr<const FftPlanData>;

// A plan for `key` by the first of `tries` (FFTW flags) that gives one, all under one hold of
// the planner; nullptr when the last is FFTW_WISDOM_ONLY and finds no wisdom either.
PlanPtr makePlan(const Key& key, std::initializer_list<unsigned> tries) {
    auto plan = std::make_shared<FftPlanData>();
    std::lock_guard<std::mutex> planner(plannerMutex());
    fftw_complex* in = fftwArray(key.n);
    fftw_complex* out = key.inPlace ? in : fftwArray(key.n);
    plan->alignment = fftw_alignment_of(reinterpret_cast<double*>(in));
    unsigned last = 0;
    for (unsigned flags : tries) {
        last = flags;
        plan->measured = (flags & FFTW_ESTIMATE) == 0;
        plan->plan = fftw_plan_dft_1d(static_cast<int>(key.n), in, out,
                                      key.inverse ? FFTW_BACKWARD : FFTW_FORWARD,
                                      flags | (key.inPlace ? 0u : unsigned(FFTW_PRESERVE_INPUT)));
        if (plan->plan) break;
    }
    if (out != in) fftw_free(out);
    fftw_free(in);
    if (!plan->plan) {
        if (last & FFTW_WISDOM_ONLY) return nullptr;
        rt::error("fft: no transform plan for length " + std::to_string(key.n) + ".");
    }
    return plan;
}

// A plan usable at once: measured where wisdom holds it (after a measurement that was
// dropped since, or from the wisdom file), else estimated; microseconds either way.
PlanPtr usablePlan(const Key& key) {
    return makePlan(key, {FFTW_MEASURE | FFTW_WISDOM_ONLY, FFTW_ESTIMATE});
}

// Plans by length, direction and placement, the least recently used dropped beyond
// kMaxFftPlans (callers that still execute a dropped plan keep it alive through their
// reference). Freed with FFTW's own state at exit.
class PlanCache {
public:
    // The planner's lock is made first, so that it outlives the cache at exit.
    PlanCache() { plannerMutex(); }

    ~PlanCache() {
        stopWorker();
        std::lock_guard<std::mutex> lock(mutex_);
        lru_.clear();
        plans_.clear();
        std::lock_guard<std::mutex> planner(plannerMutex());
        fftw_cleanup();
    }

    PlanPtr get(const Key& key) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (auto p = findLocked(key)) return p;
        }
        // Lookups of other lengths go on meanwhile.
        return store(key, usablePlan(key), false);
    }

    void prepare(std::vector<Eigen::Index> lengths, std::string wisdomFile) {
        std::lock_guard<std::mutex> lock(workerMutex_);
        if (prepared_) return;
        prepared_ = true;
        {
            std::lock_guard<std::mutex> plans(mutex_);
            planning_ = true;
        }
        worker_ = std::thread([this, lengths = std::move(lengths), file = std::move(wisdomFile)] {
            try {
                plan(lengths, file);
            } catch (...) {
                // A length that cannot be planned is planned again, and reported, when used.
            }
            endPlanning();
        });
    }

    void finish() {
        std::lock_guard<std::mutex> lock(workerMutex_);
        if (worker_.joinable()) worker_.join();
    }

    void release() {
        stopWorker();
        std::lock_guard<std::mutex> lock(mutex_);
        lru_.clear();
        plans_.clear();
    }

    std::size_t size() {
        std::lock_guard<std::mutex> lock(mutex_);
        return plans_.size();
    }

private:
    // The start-up planning: every plan usable at once (from wisdom or estimated), then the
    // missing measurements one after another, each swapped in when done.
    void plan(const std::vector<Eigen::Index>& lengths, const std::string& file) {
        // A FIFO or device by that name would block the reader: only files are read.
        if (!file.empty() && notARegularFile(file).empty()) {
            std::lock_guard<std::mutex> planner(plannerMutex());
            fftw_import_wisdom_from_filename(file.c_str());
        }
        // Both placements, so that no transform of these lengths needs the planner while it
        // measures; only the out-of-place plans are measured.
        std::vector<Key> unmeasured;
        for (Eigen::Index n : lengths)
            for (bool inPlace : {false, true})
                for (bool inverse : {false, true}) {
                    const Key key{n, inverse, inPlace};
                    PlanPtr plan = usablePlan(key);
                    const bool measured = plan->measured;
                    store(key, std::move(plan), measured);
                    if (!measured && !inPlace) unmeasured.push_back(key);
                }
        for (const Key& key : unmeasured) {
            if (stop_) return;
            store(key, makePlan(key, {FFTW_MEASURE}), true);
        }
        if (!unmeasured.empty() && !file.empty()) saveWisdom(file);
    }

    void stopWorker() {
        stop_ = true;
        finish();
        stop_ = false;
    }

    // Keeps `plan` unless one is held already and `replace` is false; returns the one held.
    // A plan given up while the start-up thread plans, the caller's own duplicate too, is kept
    // until it ends: destroying it takes the planner, and a caller that held it last would
    // wait for a measurement.
    PlanPtr store(const Key& key, PlanPtr plan, bool replace) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (auto held = findLocked(key)) {
            if (!replace) {
                retireLocked(std::move(plan));
                return held;
            }
            retireLocked(std::move(plans_[key].first));
            plans_[key].first = plan;
            return plan;
        }
        lru_.push_front(key);
        plans_.emplace(key, std::make_pair(plan, lru_.begin()));
        while (plans_.size() > kMaxFftPlans) {
            retireLocked(std::move(plans_[lru_.back()].first));
            plans_.erase(lru_.back());
            lru_.pop_back();
        }
        return plan;
    }

    void retireLocked(PlanPtr plan) {
        if (planning_) retired_.push_back(std::move(plan));
    }

    // The plans given up meanwhile go with the start-up thread's own planner lock.
    void endPlanning() {
        std::vector<PlanPtr> gone;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            planning_ = false;
            gone.swap(retired_);
        }
    }

    PlanPtr findLocked(const Key& key) {
        auto it = plans_.find(key);
        if (it == plans_.end()) return nullptr;
        lru_.splice(lru_.begin(), lru_, it->second.second);
        return it->second.first;
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
    std::map<Key, std::pair<PlanPtr, std::list<Key>::iterator>> plans_;
    std::list<Key> lru_;            // most recently used first
    bool planning_ = false;         // the start-up thread plans
    std::vector<PlanPtr> retired_;  // plans given up meanwhile
    std::mutex workerMutex_;
    std::thread worker_;
    std::atomic<bool> stop_{false};
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

bool alignedLike(const void* p, int alignment) {
    return fftw_alignment_of(static_cast<double*>(const_cast<void*>(p))) == alignment;
}

}  // namespace

void FftBuffer::Free::operator()(std::complex<double>* p) const { fftw_free(p); }

FftBuffer::FftBuffer(Eigen::Index n)
    : data_(reinterpret_cast<std::complex<double>*>(fftwArray(std::max<Eigen::Index>(n, 1)))),
      n_(n) {
    if (!data_) throw std::bad_alloc();
}

void FftPlan::execute(const std::complex<double>* in, std::complex<double>* out) const {
    auto* i = reinterpret_cast<fftw_complex*>(const_cast<std::complex<double>*>(in));
    auto* o = reinterpret_cast<fftw_complex*>(out);
    if (alignedLike(in, plan_->alignment) && alignedLike(out, plan_->alignment)) {
        fftw_execute_dft(plan_->plan, i, o);
        return;
    }
    FftBuffer a(n_), b(n_);
    std::memcpy(a.data(), in, sizeof(fftw_complex) * std::size_t(n_));
    fftw_execute_dft(plan_->plan, reinterpret_cast<fftw_complex*>(a.data()),
                     reinterpret_cast<fftw_complex*>(b.data()));
    std::memcpy(out, b.data(), sizeof(fftw_complex) * std::size_t(n_));
}

bool FftPlan::measured() const { return plan_->measured; }

FftPlan fftPlan(Eigen::Index n, bool inverse) {
    if (n <= 0) rt::error("fft: a plan needs a positive length.");
    FftPlan p;
    p.plan_ = cache().get(Key{n, inverse, false});
    p.n_ = n;
    return p;
}

void fftInPlace(std::complex<double>* data, Eigen::Index n, Eigen::Index cols, bool inverse) {
    if (n <= 0 || cols <= 0) return;
    const PlanPtr plan = cache().get(Key{n, inverse, true});
    fftw_complex* scratch = nullptr;
    for (Eigen::Index c = 0; c < cols; ++c) {
        auto* col = reinterpret_cast<fftw_complex*>(data + c * n);
        if (alignedLike(col, plan->alignment)) {
            fftw_execute_dft(plan->plan, col, col);
            continue;
        }
        // A column that is not aligned like the plan's buffer goes through an aligned copy.
        if (!scratch) scratch = fftwArray(n);
        std::memcpy(scratch, col, sizeof(fftw_complex) * std::size_t(n));
        fftw_execute_dft(plan->plan, scratch, scratch);
        std::memcpy(col, scratch, sizeof(fftw_complex) * std::size_t(n));
    }
    if (scratch) fftw_free(scratch);
}

void prepareFftPlans(std::vector<Eigen::Index> lengths, std::string wisdomFile) {
    cache().prepare(std::move(lengths), std::move(wisdomFile));
}

void finishFftPlanning() { cache().finish(); }

void releaseFftPlans() { cache().release(); }

std::size_t fftPlanCount() { return cache().size(); }

Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y, Eigen::Index n) { return transform(y, n, false); }
Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y) { return transform(y, y.rows(), false); }
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y, Eigen::Index n) { return transform(y, n, true); }
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y) { return transform(y, y.rows(), true); }

}  // namespace rt

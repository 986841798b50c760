// The abbreviated-system search on large stores, time-bounded: rates over a fixed number of
// starting combinations instead of whole searches of hours.
//
// BM_SearchRate      the search as the commands run it (common beginning, hopeless passes cut,
//                    worker threads), stopped after a fixed number of starting combinations;
//                    counter "starts_per_s" (wall clock, all threads).
// BM_WholePass       one uncut pass per iteration from starting combinations spread over the store:
//                    the scan of today's kernel against the subset-index pass below (the same
//                    system sizes, checked); counter "passes_per_s" (CPU time, one thread).
// BM_ProvenCapacity  the whole command on a store where every pass is proven to reach the
//                    capacity (full wheel at 39 and mode 6, five hits): the time of the answer.
// BM_CapacityProof   the cost of trying the proof on a store where it does not hold.
//
// The subset-index pass: for every t-subset of 1..39 the stored combinations holding it, in store
// order. Adding a member marks what it covers (the union of its C(7,t) lists, from the walk's
// position on) in a bitmap, and the walk jumps to the next unmarked combination. It was measured
// as the alternative to the scan and is kept here only to show the comparison.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>

#include "bench_stores.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "wheels/abbreviated_system.h"
#include "wheels/capacity_bound.h"
#include "wheels/start_search.h"

namespace quillstep {
namespace {

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Arguments: mode, guaranteed hits, starting combinations to check. The rate is taken from the
// first progress report on (the passes running), so the walk of starting number 1 and the
// capacity proof before it do not count; "setup_s" shows their time.
void BM_SearchRate(benchmark::State& b) {
    const std::vector<uint64_t>& masks = masksOfMode(static_cast<int>(b.range(0)));
    const int hits = static_cast<int>(b.range(1));
    const int32_t starts = static_cast<int32_t>(b.range(2));
    StartSearchOptions options;
    options.kernel = fastestPassKernel(hits);
    int32_t begun = 0, firstReported = -1;
    std::chrono::steady_clock::time_point firstReport;
    options.onProgress = [&](int32_t s) {
        if (firstReported < 0) firstReported = s, firstReport = std::chrono::steady_clock::now();
        begun = s;
    };
    options.stopRequested = [&] { return begun >= starts; };
    BestStart best;
    double setup = 0, running = 0;
    for (auto _ : b) {
        begun = 0, firstReported = -1;
        const auto t0 = std::chrono::steady_clock::now();
        best = findBestStart(masks, hits, options);
        running = secondsSince(firstReport);
        setup = std::chrono::duration<double>(firstReport - t0).count();
    }
    const double rate = (best.startsChecked - firstReported) / running;
    b.SetLabel(passKernelName(options.kernel));
    b.counters["stored"] = static_cast<double>(masks.size());
    b.counters["starts_checked"] = best.startsChecked;
    b.counters["setup_s"] = setup;
    b.counters["starts_per_s"] = rate;
    b.counters["whole_store_h"] = static_cast<double>(masks.size()) / rate / 3600;
}

// The subset index and the pass that uses it.
class SubsetIndex {
public:
    SubsetIndex(const std::vector<uint64_t>& masks, int hits) : masks_(masks), hits_(hits) {
        for (int n = 0; n < 64; ++n) {
            binomial_[n][0] = 1;
            for (int k = 1; k < 8; ++k) binomial_[n][k] = n == 0 ? 0 : binomial_[n - 1][k - 1] + binomial_[n - 1][k];
        }
        begin_.assign(static_cast<size_t>(binomial_[39][hits]) + 1, 0);  // numbers 1..39
        for (uint64_t mask : masks) forEachSubset(mask, [&](int64_t r) { ++begin_[r + 1]; });
        for (size_t r = 1; r < begin_.size(); ++r) begin_[r] += begin_[r - 1];
        entries_.resize(begin_.back());
        std::vector<uint64_t> fill(begin_.begin(), begin_.end() - 1);
        for (size_t j = 0; j < masks.size(); ++j)
            forEachSubset(masks[j], [&](int64_t r) { entries_[fill[r]++] = static_cast<uint32_t>(j); });
        covered_.resize(masks.size() / 64 + 2);
    }

    size_t bytes() const { return entries_.size() * sizeof(uint32_t) + begin_.size() * sizeof(uint64_t); }

    int32_t pass(int32_t startIndex, int32_t stopSize) {
        std::fill(covered_.begin(), covered_.end(), 0);
        const int32_t count = static_cast<int32_t>(masks_.size());
        int32_t size = 1;
        mark(masks_[static_cast<size_t>(startIndex)], 0);
        for (int32_t position = 0; size < stopSize;) {
            size_t word = static_cast<size_t>(position) / 64;
            uint64_t open = ~covered_[word] & (~uint64_t{0} << (position % 64));
            while (open == 0 && ++word < covered_.size()) open = ~covered_[word];
            const int64_t next = static_cast<int64_t>(word) * 64 + std::countr_zero(open);
            if (word >= covered_.size() || next >= count) break;
            ++size;
            mark(masks_[static_cast<size_t>(next)], static_cast<uint32_t>(next));
            position = static_cast<int32_t>(next) + 1;
        }
        return size;
    }

private:
    template <class Visit>
    void forEachSubset(uint64_t mask, Visit visit) const {
        std::array<int, 7> numbers{};
        for (int i = 0; i < 7; ++i, mask &= mask - 1) numbers[i] = std::countr_zero(mask) - 1;  // 1..39 as 0..38
        for (unsigned positions = 1; positions < 128; ++positions) {
            if (std::popcount(positions) != hits_) continue;
            int64_t rank = 0;
            int place = 0;
            for (unsigned rest = positions; rest; rest &= rest - 1) rank += binomial_[numbers[std::countr_zero(rest)]][++place];
            visit(rank);
        }
    }
    void mark(uint64_t member, uint32_t from) {
        forEachSubset(member, [&](int64_t r) {
            const uint32_t* first = entries_.data() + begin_[r];
            const uint32_t* last = entries_.data() + begin_[r + 1];
            for (first = std::lower_bound(first, last, from); first != last; ++first)
                covered_[*first / 64] |= uint64_t{1} << (*first % 64);
        });
    }

    const std::vector<uint64_t>& masks_;
    const int hits_;
    std::array<std::array<int64_t, 8>, 64> binomial_{};
    std::vector<uint64_t> begin_;
    std::vector<uint32_t> entries_;
    std::vector<uint64_t> covered_;
};

// Arguments: mode, guaranteed hits, 0 the scan / 1 the subset index.
void BM_WholePass(benchmark::State& b) {
    const std::vector<uint64_t>& masks = masksOfMode(static_cast<int>(b.range(0)));
    const int hits = static_cast<int>(b.range(1));
    const bool indexed = b.range(2) == 1;
    const int32_t count = static_cast<int32_t>(masks.size());
    static std::map<std::pair<int64_t, int>, std::unique_ptr<SubsetIndex>> indexes;
    auto& index = indexes[{b.range(0), hits}];
    if (indexed && !index) {
        const auto t0 = std::chrono::steady_clock::now();
        index = std::make_unique<SubsetIndex>(masks, hits);
        b.counters["index_build_s"] = secondsSince(t0);
    }
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    GreedyPassRequest request;
    request.masks = masks.data();
    request.count = count;
    request.guaranteedHits = hits;
    request.systemMasks = system.data();
    const PassKernel kernel = fastestPassKernel(hits);
    int32_t start = 0;
    int64_t passes = 0;
    for (auto _ : b) {
        request.startIndex = start;
        const int32_t size = indexed ? index->pass(start, ABBREVIATED_SYSTEM_CAPACITY) : runGreedyPass(kernel, request);
        if (indexed) {  // the same size as the scan's, checked outside the timing
            b.PauseTiming();
            const bool same = size == runGreedyPass(kernel, request);
            b.ResumeTiming();
            if (!same) {
                b.SkipWithError("the subset-index pass built another system");
                return;
            }
        }
        benchmark::DoNotOptimize(size);
        start = (start + 104729) % count;
        ++passes;
    }
    b.SetLabel(indexed ? "subset index" : passKernelName(kernel));
    b.counters["passes_per_s"] = benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kIsRate);
    b.counters["stored"] = count;
    if (indexed) b.counters["index_MB"] = static_cast<double>(index->bytes()) / 1e6;
}

// Arguments: mode, guaranteed hits. The whole command, messages and system rebuild included.
void BM_ProvenCapacity(benchmark::State& b) {
    SharedState& state = storeOfMode(static_cast<int>(b.range(0)));
    state.outputFolder = std::filesystem::temp_directory_path();
    SearchOutcome outcome;
    for (auto _ : b) {
        HeadlessPlatform platform;
        outcome = searchAbbreviatedSystem(state, platform, static_cast<int>(b.range(1)));
    }
    b.counters["stored"] = state.generatedCount;
    b.counters["best_start"] = outcome.bestStart;
    b.counters["best_size"] = outcome.bestSize;
}

// Arguments: mode, guaranteed hits.
void BM_CapacityProof(benchmark::State& b) {
    const std::vector<uint64_t>& masks = masksOfMode(static_cast<int>(b.range(0)));
    bool proven = false;
    for (auto _ : b) proven = everyPassReachesCapacity(masks, static_cast<int>(b.range(1)), ABBREVIATED_SYSTEM_CAPACITY);
    b.counters["proven"] = proven;
}

BENCHMARK(BM_SearchRate)->Args({4, 4, 1000})->Args({4, 5, 4000})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_WholePass)->ArgsProduct({{4}, {4, 5}, {0, 1}})->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProvenCapacity)->Args({2, 5})->Args({6, 5})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_CapacityProof)->Args({4, 4})->Args({4, 5})->Args({9, 4})->Args({12, 4})->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

// The abbreviated-system search at N 39 with the default parameters, on the stores of mode 12
// (10,276 combinations) and mode 9 (99,427): the plain loop (one plain pass per starting number,
// combination by combination) against the fast search (bit masks, passes cut when they can no
// longer win, worker threads), on the path the search takes by itself (64 starting combinations
// per walk through the store's tree here) or on the scan with a given kernel.
//
// The plain loop runs over the whole store for mode 12; for mode 9 (about a quarter of an hour) it
// is timed over the first 20 starting numbers and extrapolated linearly to the whole store
// (counter "whole_store_s"): passes from different starting numbers cost about the same, since
// each walks the whole store. The fast search is always timed over the whole store.

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>

#include "bench_stores.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "app/abbreviated_system_buttons.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/greedy/plain_greedy.h"

namespace quillstep {
namespace {

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The plain loop: build the system of each starting number, keep the strictly smaller one.
BestStart plainSearch(SharedState& state, int hits, int32_t lastStart) {
    BestStart best;
    for (int32_t start = 1; start <= lastStart; ++start) {
        const int32_t size = buildGreedySystemPlainly(state, start, hits);
        if (size < best.bestSize) {
            best.bestStart = start;
            best.bestSize = size;
        }
    }
    best.startsChecked = lastStart;
    return best;
}

// Arguments: mode, guaranteed hits, starting numbers timed.
void BM_PlainSearch(benchmark::State& b) {
    SharedState& state = storeOfMode(static_cast<int>(b.range(0)));
    const int hits = static_cast<int>(b.range(1));
    const int32_t starts = std::min<int32_t>(static_cast<int32_t>(b.range(2)), state.generatedCount);
    double seconds = 0;
    BestStart best;
    for (auto _ : b) {
        const auto t0 = std::chrono::steady_clock::now();
        best = plainSearch(state, hits, starts);
        seconds = secondsSince(t0);
    }
    b.counters["stored"] = state.generatedCount;
    b.counters["starts_timed"] = starts;
    b.counters["whole_store_s"] = seconds * state.generatedCount / starts;
    b.counters["best_start"] = best.bestStart;  // among the starting numbers timed
    b.counters["best_size"] = best.bestSize;
}

// Arguments: mode, guaranteed hits, kernel (index into availablePassKernels, -1 the fastest),
// threads (0: one per hardware thread), path (0 the search's own choice, 1 the scan).
void BM_FastSearch(benchmark::State& b) {
    SharedState& state = storeOfMode(static_cast<int>(b.range(0)));
    const int hits = static_cast<int>(b.range(1));
    const auto kernels = availablePassKernels();
    StartSearchOptions options;
    if (b.range(2) >= 0) {
        if (b.range(2) >= static_cast<int64_t>(kernels.size())) {
            b.SkipWithError("kernel not available on this processor");
            return;
        }
        options.kernel = kernels[static_cast<size_t>(b.range(2))];
    }
    options.threads = static_cast<unsigned>(b.range(3));
    if (b.range(4) == 1) options.path = StartSearchPath::Scan;
    // One untimed search first: the first searches of a process run slower (the processor and the
    // allocator warm up), by some 50 ms, which would swamp the small stores' figures.
    BestStart best = findBestStart(combinationMasks(state), hits, options);
    double seconds = 0;
    for (auto _ : b) {
        const auto t0 = std::chrono::steady_clock::now();
        best = findBestStart(combinationMasks(state), hits, options);
        seconds = secondsSince(t0);
    }
    b.SetLabel(best.pathUsed == StartSearchPath::Lanes ? "lanes" : passKernelName(options.kernel));
    b.counters["stored"] = state.generatedCount;
    b.counters["whole_store_s"] = seconds;
    b.counters["best_start"] = best.bestStart;
    b.counters["best_size"] = best.bestSize;
}

// One full pass (no cut) per iteration, starting numbers in turn; arguments: mode, guaranteed
// hits, kernel index. Counter: nanoseconds per candidate walked.
void BM_Pass(benchmark::State& b) {
    SharedState& state = storeOfMode(static_cast<int>(b.range(0)));
    const auto kernels = availablePassKernels();
    if (b.range(2) >= static_cast<int64_t>(kernels.size())) {
        b.SkipWithError("kernel not available on this processor");
        return;
    }
    const PassKernel kernel = kernels[static_cast<size_t>(b.range(2))];
    b.SetLabel(passKernelName(kernel));
    const std::vector<uint64_t> masks = combinationMasks(state);
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    GreedyPassRequest request;
    request.masks = masks.data();
    request.count = state.generatedCount;
    request.guaranteedHits = static_cast<int>(b.range(1));
    request.systemMasks = system.data();
    int32_t start = 0;
    for (auto _ : b) {
        request.startIndex = start;
        start = (start + 977) % state.generatedCount;
        benchmark::DoNotOptimize(runGreedyPass(kernel, request));
    }
    b.counters["ns_per_candidate"] = benchmark::Counter(
        static_cast<double>(state.generatedCount) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Pass)->ArgsProduct({{12, 9}, {4, 5}, {0, 1, 2, 3}})->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_PlainSearch)
    ->Args({12, 4, 10276})
    ->Args({12, 5, 10276})
    ->Args({9, 4, 20})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_FastSearch)
    ->Args({12, 4, -1, 0, 0})
    ->Args({12, 5, -1, 0, 0})
    ->Args({9, 4, -1, 0, 0})
    ->Args({9, 5, -1, 0, 0})
    ->Args({12, 4, -1, 1, 0})
    ->Args({12, 4, -1, 0, 1})
    ->Args({12, 5, -1, 0, 1})
    ->Args({9, 4, -1, 0, 1})
    ->Args({12, 5, 0, 0, 1})
    ->Args({12, 5, 1, 0, 1})
    ->Args({12, 5, 2, 0, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

// The abbreviated-system search on large stores, time-bounded: rates over a fixed number of
// starting combinations instead of whole searches of hours.
//
// BM_SearchRate      the search as the commands run it (hopeless passes cut, worker threads) on
//                    the scan path (with the common beginning) or the lane path, stopped after a
//                    fixed number of starting combinations; counter "starts_per_s" (wall clock,
//                    all threads). Both paths run in the same benchmark run, so their ratio holds.
// BM_PassTime        uncut passes from starting combinations spread over the store, 64 per
//                    iteration: the scan of the fastest kernel against the lanes (the same sizes,
//                    checked); counter "passes_per_s" (CPU time, one thread).
// BM_ProvenCapacity  the whole command on a store where every pass is proven to reach the
//                    capacity (full wheel at 39 and mode 6, five hits): the time of the answer.
// BM_CapacityProof   the cost of trying the proof on a store where it does not hold.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "bench_stores.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "app/abbreviated_system_buttons.h"
#include "wheels/greedy/capacity_proof.h"
#include "wheels/greedy/bit_lane_passes.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/greedy/plain_greedy.h"
#include "wheels/greedy/store_trie.h"

namespace quillstep {
namespace {

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Arguments: mode, guaranteed hits, starting combinations to check, 0 the scan / 1 the lanes.
// The rate is taken from the first progress report on (the passes running), so what comes before
// them (the capacity proof, the walk of starting number 1 or the tree) does not count; "setup_s"
// shows its time.
void BM_SearchRate(benchmark::State& b) {
    const std::vector<uint64_t>& masks = masksOfMode(static_cast<int>(b.range(0)));
    const int hits = static_cast<int>(b.range(1));
    const int32_t starts = static_cast<int32_t>(b.range(2));
    StartSearchOptions options;
    options.kernel = fastestPassKernel(hits);
    options.path = b.range(3) == 1 ? StartSearchPath::Lanes : StartSearchPath::Scan;
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
    if ((best.pathUsed == StartSearchPath::Lanes) != (options.path == StartSearchPath::Lanes)) {
        b.SkipWithError("the search ran on the other path");
        return;
    }
    const double rate = (best.startsChecked - firstReported) / running;
    b.SetLabel(best.pathUsed == StartSearchPath::Lanes ? "lanes" : passKernelName(options.kernel));
    b.counters["stored"] = static_cast<double>(masks.size());
    b.counters["starts_checked"] = best.startsChecked;
    b.counters["setup_s"] = setup;
    b.counters["starts_per_s"] = rate;
    b.counters["whole_store_h"] = static_cast<double>(masks.size()) / rate / 3600;
}

// Arguments: mode, guaranteed hits, 0 the scan / 1 the lanes. One uncut pass per starting
// combination, 64 starting combinations spread over the store per iteration; the lanes' sizes are
// checked against the scan's outside the timing.
void BM_PassTime(benchmark::State& b) {
    const std::vector<uint64_t>& masks = masksOfMode(static_cast<int>(b.range(0)));
    const int hits = static_cast<int>(b.range(1));
    const bool lanes = b.range(2) == 1;
    const int32_t count = static_cast<int32_t>(masks.size());
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    GreedyPassRequest request;
    request.masks = masks.data();
    request.count = count;
    request.guaranteedHits = hits;
    request.systemMasks = system.data();
    const PassKernel kernel = fastestPassKernel(hits);
    std::optional<StoreTrie> trie;
    std::unique_ptr<LaneCoverage> coverage;
    if (lanes) {
        const auto t0 = std::chrono::steady_clock::now();
        trie = buildStoreTrie(masks, laneTrieRootDepth(hits));
        b.counters["tree_build_s"] = secondsSince(t0);
        coverage = std::make_unique<LaneCoverage>(hits);
    }
    LaneBatch batch;
    batch.lanes = PASS_LANES;
    int32_t next = 0;
    int64_t passes = 0;
    for (auto _ : b) {
        for (int lane = 0; lane < PASS_LANES; ++lane, next = (next + 104729) % count) {
            batch.startIndex[lane] = next;
            batch.stopSize[lane] = ABBREVIATED_SYSTEM_CAPACITY;
        }
        if (lanes) {
            runLanePasses(*trie, masks, *coverage, batch);
            b.PauseTiming();
            for (int lane = 0; lane < PASS_LANES; ++lane) {
                request.startIndex = batch.startIndex[lane];
                if (runGreedyPass(kernel, request) != batch.size[lane]) {
                    b.SkipWithError("a lane built another system than the scan");
                    return;
                }
            }
            b.ResumeTiming();
        } else {
            for (int lane = 0; lane < PASS_LANES; ++lane) {
                request.startIndex = batch.startIndex[lane];
                benchmark::DoNotOptimize(runGreedyPass(kernel, request));
            }
        }
        passes += PASS_LANES;
    }
    b.SetLabel(lanes ? "lanes" : passKernelName(kernel));
    b.counters["passes_per_s"] = benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kIsRate);
    b.counters["stored"] = count;
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

// The scan checks fewer starting combinations than the lanes, for the same seconds.
BENCHMARK(BM_SearchRate)
    ->Args({4, 4, 1000, 0})
    ->Args({4, 4, 20000, 1})
    ->Args({4, 5, 4000, 0})
    ->Args({4, 5, 40000, 1})
    ->Args({2, 4, 150, 0})
    ->Args({2, 4, 10000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_PassTime)->ArgsProduct({{4}, {4, 5}, {0, 1}})->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProvenCapacity)->Args({2, 5})->Args({6, 5})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_CapacityProof)->Args({4, 4})->Args({4, 5})->Args({9, 4})->Args({12, 4})->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

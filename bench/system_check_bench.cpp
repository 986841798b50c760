// The separate check of a system: on the store of mode 9 at N 39 with the default parameters
// (99,427 combinations) against 600 of its combinations, and on the full wheel at 39
// (15,380,937 combinations) against 999 of them - the largest system a file holds. Every stored
// combination is compared with every member, so the cost is stored x members.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/check/independent_system_check.h"

namespace quillstep {
namespace {

const std::vector<uint64_t>& storeMasks(int mode) {
    static std::map<int, std::vector<uint64_t>> stores;
    auto& masks = stores[mode];
    if (masks.empty()) {
        auto state = createSharedState();
        HeadlessPlatform platform;
        runGeneration(*state, platform, mode);
        masks = combinationMasks(*state);
    }
    return masks;
}

void checkEveryStored(benchmark::State& run, int mode, size_t members) {
    const std::vector<uint64_t>& stored = storeMasks(mode);
    std::vector<uint64_t> system;
    for (size_t s = 0; s < members; ++s) system.push_back(stored[s * (stored.size() / members)]);
    const CoverRequest request = storedCoverRequest(stored, 4, HIGHEST_NUMBER);
    for (auto _ : run) {
        const SystemCheck check = checkSystem(request, system);
        benchmark::DoNotOptimize(check.uncovered);
    }
    run.counters["stored"] = static_cast<double>(stored.size());
    run.counters["members"] = static_cast<double>(members);
    run.counters["pairs_per_s"] =
        benchmark::Counter(static_cast<double>(stored.size()) * static_cast<double>(members),
                           benchmark::Counter::kIsIterationInvariantRate);
}

void BM_CheckMode9Store600Members(benchmark::State& run) { checkEveryStored(run, 9, 600); }
void BM_CheckFullWheel39With999Members(benchmark::State& run) { checkEveryStored(run, 2, 999); }

BENCHMARK(BM_CheckMode9Store600Members)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckFullWheel39With999Members)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

// The optimiser on the default stores at 39 numbers (modes 12, 13 and 9) and on the full wheels
// of 16 and 18 numbers, at 4 and 5 hits, on every hardware thread, with the time limit each case
// names (30 s, or 60 s for mode 9 and the full wheels). Counters: the system size found
// ("size"), the greedy search's size on the same store ("greedy_size"), the size a good
// optimiser reaches ("target_size"), the seconds used, the local-search steps made and the
// targets a plain loop finds uncovered ("uncovered", always 0). The "-any" cases let members be
// any seven numbers of 1..39.
//
// One case at a time, for example:
//   build/bench/optimiser_bench --benchmark_filter='optimise/mode12/4hits'
// All cases take about nine minutes. QUILLSTEP_OPTIMISER_SECONDS=<s> replaces every time limit
// (for a quick look).

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "wheels/optimiser/optimiser.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"

namespace quillstep {
namespace {

struct OptimiserCase {
    const char* store;  // name in the benchmark's name
    int mode;
    int totalNumbers;
    int hits;
    double seconds;
    int greedySize;  // the greedy search's best system on this store
    int targetSize;  // 0: none known
    bool anyCombination = false;
};

constexpr OptimiserCase CASES[] = {
    {"mode12", 12, 39, 4, 30, 23, 14},   {"mode12", 12, 39, 5, 30, 152, 88},
    {"mode13", 13, 39, 4, 30, 5, 3},     {"mode13", 13, 39, 5, 30, 23, 13},
    {"mode9", 9, 39, 4, 60, 109, 67},    {"mode9", 9, 39, 5, 60, 988, 597},
    {"wheel16", 2, 16, 4, 60, 11, 7},    {"wheel16", 2, 16, 5, 60, 60, 37},
    {"wheel18", 2, 18, 5, 60, 140, 78},
    // Members may be any seven numbers; the greedy search's size is still the stored-only one.
    {"mode12-any", 12, 39, 4, 30, 23, 0, true}, {"mode12-any", 12, 39, 5, 30, 152, 0, true},
};

const std::vector<uint64_t>& storeMasks(int mode, int totalNumbers) {
    static std::map<std::pair<int, int>, std::vector<uint64_t>> stores;
    auto& masks = stores[{mode, totalNumbers}];
    if (masks.empty()) {
        auto state = createSharedState();
        state->parameters.totalNumbers = totalNumbers;
        HeadlessPlatform platform;
        runGeneration(*state, platform, mode);
        masks = combinationMasks(*state);
    }
    return masks;
}

void runCase(benchmark::State& b, const OptimiserCase& c) {
    const auto& masks = storeMasks(c.mode, c.totalNumbers);
    CoverRequest request;
    request.stored = masks.data();
    request.storedCount = static_cast<int64_t>(masks.size());
    request.hits = c.hits;
    request.pool = numbersUpTo(c.totalNumbers);
    request.anyTicket = c.anyCombination;
    request.timeLimitSeconds = c.seconds;
    if (const char* seconds = std::getenv("QUILLSTEP_OPTIMISER_SECONDS")) request.timeLimitSeconds = std::atof(seconds);
    OptimiserResult result;
    for (auto _ : b) result = optimiseSystem(request);
    b.counters["stored"] = static_cast<double>(masks.size());
    b.counters["size"] = static_cast<double>(result.system.size());
    b.counters["greedy_size"] = c.greedySize;
    b.counters["target_size"] = c.targetSize;
    b.counters["seconds"] = result.seconds;
    b.counters["steps"] = static_cast<double>(result.steps);
    // Checked here once more, plainly: targets that share fewer numbers with every member.
    int64_t uncovered = 0;
    for (const uint64_t target : masks) {
        bool covered = false;
        for (const uint64_t member : result.system) covered = covered || std::popcount(target & member) >= c.hits;
        uncovered += !covered;
    }
    b.counters["uncovered"] = static_cast<double>(uncovered);
    if (!result.error.empty()) b.SkipWithError(result.error.c_str());
}

}  // namespace
}  // namespace quillstep

int main(int argc, char** argv) {
    using namespace quillstep;
    for (const OptimiserCase& c : CASES) {
        const std::string name = std::string("optimise/") + c.store + "/" + std::to_string(c.hits) + "hits";
        benchmark::RegisterBenchmark(name.c_str(), [&c](benchmark::State& b) { runCase(b, c); })
            ->Iterations(1)
            ->Unit(benchmark::kSecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The optimiser on the large stores of the README's table, through the optimise command (search,
// separate check of every stored combination, file, read-back), on every hardware thread:
// the full wheels of 20 (at four and five hits) and 22 numbers with a 60 s limit, the full wheel
// of 25, the mode-8 and mode-4 stores at 39 numbers and the full wheel of 39 with 600 s, at four
// hits unless said. Counters:
// "size" (the verified system; 0 when none), "greedy" (the greedy search's size on that store),
// "target" (the size to reach), "seconds" (the whole command) and "peak_mb" (the process's peak
// resident memory so far: run one case per process for the case's own peak, as
// bench/large_optimiser_rows.sh does).
//
//   build/bench/large_optimiser_bench --benchmark_filter='large/wheel20/4hits/'
// QUILLSTEP_OPTIMISER_SECONDS=<s> replaces every time limit (for a quick look).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "usecases/optimise_command.h"
#include "windows/file_reports.h"
#include "texts/smaller_systems_texts.h"

namespace quillstep {
namespace {

struct LargeCase {
    const char* store;
    int mode;
    int totalNumbers;
    int hits;
    double seconds;
    int greedySize;
    int targetSize;
};

constexpr LargeCase CASES[] = {
    {"wheel20", 2, 20, 4, 60, 36, 22},  {"wheel20", 2, 20, 5, 60, 268, 150}, {"wheel22", 2, 22, 4, 60, 58, 35},
    {"wheel25", 2, 25, 4, 600, 108, 66}, {"mode8", 8, 39, 4, 600, 475, 287},  {"mode4", 4, 39, 4, 600, 638, 385},
    {"wheel39", 2, 39, 4, 600, 0, 329},
};

double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}

void runCase(benchmark::State& b, const LargeCase& c) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillstep-large-optimiser-bench";
    std::filesystem::create_directories(folder);
    auto state = createSharedState();
    state->parameters.totalNumbers = c.totalNumbers;
    state->outputFolder = folder;
    HeadlessPlatform platform;
    runGeneration(*state, platform, c.mode);
    OptimiseSettings settings;
    settings.guaranteedHits = c.hits;
    settings.timeLimitSeconds = c.seconds;
    if (const char* seconds = std::getenv("QUILLSTEP_OPTIMISER_SECONDS")) settings.timeLimitSeconds = std::atof(seconds);
    OptimiseOutcome outcome;
    const auto begin = std::chrono::steady_clock::now();
    OptimiseObserver observer;
    observer.write = mainWindowWriteObserver(platform);
    for (auto _ : b) outcome = optimiseStoredSystem(*state, settings, observer);
    b.counters["stored"] = static_cast<double>(state->generatedCount);
    b.counters["size"] = outcome.verified ? outcome.systemSize : 0;
    b.counters["greedy"] = c.greedySize;
    b.counters["target"] = c.targetSize;
    b.counters["seconds"] = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    b.counters["peak_mb"] = peakMegabytes();
    if (!outcome.written()) b.SkipWithError(optimiseFaultText(outcome).c_str());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillstep

int main(int argc, char** argv) {
    using namespace quillstep;
    for (const LargeCase& c : CASES) {
        const std::string name = std::string("large/") + c.store + "/" + std::to_string(c.hits) + "hits";
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

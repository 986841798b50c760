// Every generation mode at N 39 with the default parameters, in nanoseconds per visited combination
// (a run visits all 15,380,937). The store is warm: the first storing run touches its pages.

#include <benchmark/benchmark.h>

#include "engine/kernel.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {
namespace {

constexpr double VISITED_AT_39 = 15'380'937.0;

SharedState& sharedState() {
    static const auto state = [] {
        auto s = createSharedState();
        HeadlessPlatform platform;
        runGeneration(*s, platform, 2);  // touch every page of the store once
        return s;
    }();
    return *state;
}

void perVisited(benchmark::State& b) {
    b.counters["per_visited"] =
        benchmark::Counter(VISITED_AT_39, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Mode(benchmark::State& b) {
    SharedState& state = sharedState();
    state.parameters = GenerationParameters{};
    const int mode = static_cast<int>(b.range(0));
    const KernelFunction kernel = kernelOfMode(mode);
    int32_t count = 0;
    for (auto _ : b) {
        count = kernel(state.parameters, 39, state.combinationStore.get() + 1);
        benchmark::DoNotOptimize(count);
        benchmark::ClobberMemory();
    }
    b.counters["accepted"] = count;
    perVisited(b);
}
BENCHMARK(BM_Mode)->DenseRange(1, 14)->Unit(benchmark::kMillisecond);

// The yardstick: every combination visited with the successor step, conditions tested one by one.
void BM_PlainKernel(benchmark::State& b) {
    SharedState& state = sharedState();
    state.parameters = GenerationParameters{};
    const int mode = static_cast<int>(b.range(0));
    for (auto _ : b) {
        benchmark::DoNotOptimize(runPlainKernel(mode, state.parameters, 39, state.combinationStore.get() + 1));
        benchmark::ClobberMemory();
    }
    perVisited(b);
}
BENCHMARK(BM_PlainKernel)->Arg(1)->Arg(2)->Arg(12)->Unit(benchmark::kMillisecond);

void BM_CountNumberOccurrences(benchmark::State& b) {
    SharedState& state = sharedState();
    HeadlessPlatform platform;
    state.parameters = GenerationParameters{};
    runGeneration(state, platform, 2);
    for (auto _ : b) {
        state.numberStatistics.fill(0);
        countNumberOccurrences(state);
        benchmark::DoNotOptimize(state.numberStatistics.data());
    }
    perVisited(b);
}
BENCHMARK(BM_CountNumberOccurrences)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

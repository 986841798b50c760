// The profile of a system over every draw of the full wheel at 39 (15,380,937 draws): against
// 1000 lines (spread evenly over the full wheel in lexicographic order, and drawn at random),
// on one and on both cores; and, for comparison, the plain loop that compares every draw with
// every line by one AND and one population count, on the draws that begin with 1, 2 (435,897,
// 2.8% of all), from which its time for the whole wheel follows.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <random>
#include <vector>

#include "wheels/check/draw_profile.h"

namespace quillstep {
namespace {

constexpr int TOTAL = 39;

// The line of rank `rank` (from 0) among the draws in lexicographic order.
uint64_t drawOfRank(int64_t rank) {
    uint64_t mask = 0;
    int next = 1;
    for (int left = 7; left > 0; --left)
        for (;; ++next) {
            int64_t after = 1;  // draws that take `next` and fill the rest from above it
            for (int i = 1; i < left; ++i) after = after * (TOTAL - next - left + 1 + i) / i;
            if (rank < after) {
                mask |= uint64_t{1} << next++;
                break;
            }
            rank -= after;
        }
    return mask;
}

std::vector<uint64_t> spreadLines(int count) {
    std::vector<uint64_t> lines;
    for (int s = 0; s < count; ++s) lines.push_back(drawOfRank(int64_t{15'380'937} * s / count));
    return lines;
}

std::vector<uint64_t> randomLines(int count) {
    std::mt19937_64 rng(1000);
    std::vector<uint64_t> lines;
    while (static_cast<int>(lines.size()) < count) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + rng() % TOTAL);
        lines.push_back(mask);
    }
    return lines;
}

void profile(benchmark::State& run, const std::vector<uint64_t>& lines, unsigned threads) {
    DrawProfile result;
    for (auto _ : run) {
        result = profileAllDraws(lines.data(), static_cast<int64_t>(lines.size()), TOTAL, threads);
        benchmark::DoNotOptimize(result.bestMatchCounts.data());
    }
    run.counters["at_least_3_pct"] = 100.0 * static_cast<double>(result.drawsWithAtLeast(3)) / result.draws;
    run.counters["draws_per_s"] =
        benchmark::Counter(static_cast<double>(result.draws), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Profile1000SpreadLinesBothCores(benchmark::State& run) { profile(run, spreadLines(1000), 0); }
void BM_Profile1000SpreadLinesOneCore(benchmark::State& run) { profile(run, spreadLines(1000), 1); }
void BM_Profile1000RandomLinesBothCores(benchmark::State& run) { profile(run, randomLines(1000), 0); }
void BM_Profile14RandomLinesBothCores(benchmark::State& run) { profile(run, randomLines(14), 0); }

// The plain loop on the draws beginning with 1, 2; 15,380,937 / draws_per_s is its whole wheel.
void BM_PlainLoop1000LinesOneCore(benchmark::State& run) {
    const std::vector<uint64_t> lines = randomLines(1000);
    int64_t draws = 0;
    for (auto _ : run) {
        std::array<int64_t, 8> counts{};
        draws = 0;
        const uint64_t start = uint64_t{1} << 1 | uint64_t{1} << 2;
        for (int a = 3; a <= TOTAL; ++a)
            for (int b = a + 1; b <= TOTAL; ++b)
                for (int c = b + 1; c <= TOTAL; ++c)
                    for (int d = c + 1; d <= TOTAL; ++d)
                        for (int e = d + 1; e <= TOTAL; ++e) {
                            const uint64_t draw = start | uint64_t{1} << a | uint64_t{1} << b | uint64_t{1} << c |
                                                  uint64_t{1} << d | uint64_t{1} << e;
                            int best = 0;
                            for (const uint64_t line : lines) {
                                best = std::max(best, std::popcount(draw & line));
                                if (best == 7) break;
                            }
                            ++counts[static_cast<size_t>(best)];
                            ++draws;
                        }
        benchmark::DoNotOptimize(counts.data());
    }
    run.counters["draws_per_s"] =
        benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_Profile1000SpreadLinesBothCores)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Profile1000SpreadLinesOneCore)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Profile1000RandomLinesBothCores)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Profile14RandomLinesBothCores)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLoop1000LinesOneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

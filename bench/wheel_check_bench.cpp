// The independent check of a wheel on its pool: 39 numbers at 4 if 4 with 3,400 random tickets
// (C(39,4) = 82,251 targets; the best published covering has 3,398) and 20 numbers at 6 if 7 with
// 7,000 random tickets (C(20,7) = 77,520 targets), each way of the check on both cores and the
// automatic choice on one and two; and the full wheel of 39 at 3 if 7 with 20 random tickets
// (15,380,937 targets). Random tickets leave holes, so the intersections meet many targets that
// no ticket covers and compare them with every ticket: their worst case.
//   build/bench/wheel_check_bench

#include <benchmark/benchmark.h>

#include <bit>
#include <random>
#include <vector>

#include "wheels/pool/wheel_check.h"

namespace quillstep {
namespace {

WheelRequest poolOf(int numbers, int hits, int drawn) {
    return WheelRequest{(uint64_t{2} << numbers) - 2, 0, hits, drawn};
}

std::vector<uint64_t> randomTickets(int numbers, size_t count) {
    std::mt19937 random(12345);
    std::vector<uint64_t> tickets;
    while (tickets.size() < count) {
        uint64_t ticket = 0;
        while (std::popcount(ticket) < 7) ticket |= uint64_t{1} << (1 + random() % numbers);
        tickets.push_back(ticket);
    }
    return tickets;
}

void checkRandomWheel(benchmark::State& run, int numbers, int hits, int drawn, size_t tickets, WheelCheckWay way,
                      unsigned threads) {
    const WheelRequest request = poolOf(numbers, hits, drawn);
    const std::vector<uint64_t> wheel = randomTickets(numbers, tickets);
    WheelCheckSettings settings;
    settings.way = way;
    CoverRequest asked = wheelCoverRequest(request);
    asked.threads = threads;
    WheelCheck check;
    for (auto _ : run) {
        check = checkWheel(asked, wheel, settings);
        benchmark::DoNotOptimize(check.uncovered);
    }
    run.counters["targets"] = static_cast<double>(check.targets);
    run.counters["uncovered"] = static_cast<double>(check.uncovered);
}

constexpr auto AUTO = WheelCheckWay::Automatic;
constexpr auto SUBSETS = WheelCheckWay::Subsets;
constexpr auto INTERSECTIONS = WheelCheckWay::Intersections;

void BM_Pool39_4if4_3400_Auto_2Threads(benchmark::State& run) { checkRandomWheel(run, 39, 4, 4, 3400, AUTO, 2); }
void BM_Pool39_4if4_3400_Auto_1Thread(benchmark::State& run) { checkRandomWheel(run, 39, 4, 4, 3400, AUTO, 1); }
void BM_Pool39_4if4_3400_Subsets(benchmark::State& run) { checkRandomWheel(run, 39, 4, 4, 3400, SUBSETS, 2); }
void BM_Pool39_4if4_3400_Intersections(benchmark::State& run) { checkRandomWheel(run, 39, 4, 4, 3400, INTERSECTIONS, 2); }
void BM_Pool20_6if7_7000_Auto_2Threads(benchmark::State& run) { checkRandomWheel(run, 20, 6, 7, 7000, AUTO, 2); }
void BM_Pool20_6if7_7000_Auto_1Thread(benchmark::State& run) { checkRandomWheel(run, 20, 6, 7, 7000, AUTO, 1); }
void BM_Pool20_6if7_7000_Subsets(benchmark::State& run) { checkRandomWheel(run, 20, 6, 7, 7000, SUBSETS, 2); }
void BM_Pool20_6if7_7000_Intersections(benchmark::State& run) { checkRandomWheel(run, 20, 6, 7, 7000, INTERSECTIONS, 2); }
void BM_Pool39_3if7_20_Auto_2Threads(benchmark::State& run) { checkRandomWheel(run, 39, 3, 7, 20, AUTO, 2); }

BENCHMARK(BM_Pool39_4if4_3400_Auto_2Threads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool39_4if4_3400_Auto_1Thread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool39_4if4_3400_Subsets)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool39_4if4_3400_Intersections)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool20_6if7_7000_Auto_2Threads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool20_6if7_7000_Auto_1Thread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool20_6if7_7000_Subsets)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool20_6if7_7000_Intersections)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool39_3if7_20_Auto_2Threads)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

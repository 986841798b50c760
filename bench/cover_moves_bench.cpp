// The moves of the covering search's annealing per second on wheels of the pool 1..P, one thread:
// each run starts from the greedy covering less a tenth of its tickets (the least needed) and,
// as the search does, drops the least needed ticket whenever every set is covered, so that the
// moves aim at uncovered sets; it counts the moves made (items per second), with the settings
// the search takes for the row (single random trades where t = m).
//   build/bench/cover_moves_bench

#include <benchmark/benchmark.h>

#include "wheels/cover/cover_annealing.h"
#include "wheels/cover/ticket_building.h"
#include "wheels/cover/wheel_search.h"

namespace quillstep::cover {
namespace {

void annealWheel(benchmark::State& run, int numbers, int hits, int drawn) {
    const CoverModel model = wheelCoverModel(WheelRequest{(uint64_t{2} << numbers) - 2, 0, hits, drawn});
    const TargetIndex targets = TargetIndex::allSubsets(model.elements, model.targetSize);
    CoverState state(model, targets);
    Random random{1};
    StopFlag stop;
    addGreedyTickets(state, random, stop);
    removeRedundantTickets(state, random, stop);
    for (size_t drop = state.size() / 10 + 1; drop > 0; --drop) state.removeTicket(leastNeededTicket(state, random, stop));
    CoverAnnealing annealing(state, random, annealingFor(model));
    for (auto _ : run) {
        if (state.uncovered() == 0) {
            state.removeTicket(leastNeededTicket(state, random, stop));
            annealing.restartCycle();
        }
        annealing.run(200, stop);
    }
    run.SetItemsProcessed(annealing.movesMade());
    run.counters["tickets"] = static_cast<double>(state.size());
    run.counters["uncovered"] = static_cast<double>(state.uncovered());
}

void BM_Pool25_4if7(benchmark::State& run) { annealWheel(run, 25, 4, 7); }
void BM_Pool19_4if7(benchmark::State& run) { annealWheel(run, 19, 4, 7); }
void BM_Pool16_5if7(benchmark::State& run) { annealWheel(run, 16, 5, 7); }
void BM_Pool16_5if6(benchmark::State& run) { annealWheel(run, 16, 5, 6); }
void BM_Pool15_4if5(benchmark::State& run) { annealWheel(run, 15, 4, 5); }
void BM_Pool18_4if4(benchmark::State& run) { annealWheel(run, 18, 4, 4); }
void BM_Pool16_4if4(benchmark::State& run) { annealWheel(run, 16, 4, 4); }

BENCHMARK(BM_Pool25_4if7)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool19_4if7)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool16_5if7)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool16_5if6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool15_4if5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool18_4if4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pool16_4if4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillstep::cover

BENCHMARK_MAIN();

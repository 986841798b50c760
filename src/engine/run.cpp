#include "engine/run.h"

#include "engine/generation_mode.h"
#include "engine/kernel.h"

namespace quillstep {

double elapsedSeconds(double t0, double t1) {
    const double elapsed = t1 - t0;
    return elapsed < 0 ? elapsed + SECONDS_PER_DAY : elapsed;
}

double runGeneration(SharedState& state, RunHost& host, int mode) {
    host.enableMainWindow(false);

    const GenerationParameters& p = state.parameters;
    state.generatedCount = 0;
    for (int i = 1; i <= p.numbersPerCombination; ++i)
        state.boundTable[i] = p.totalNumbers - p.numbersPerCombination + 1 + i;

    double t0 = 0.0, t1 = 0.0;
    if (const KernelFunction kernel = kernelOfMode(mode)) {
        const int32_t n = state.boundTable[NUMBERS_PER_COMBINATION] - 1;
        host.setHighPriority(true);
        t0 = host.timeOfDaySeconds();
        state.generatedCount = kernel(p, n, state.combinationStore.get() + 1);
        t1 = host.timeOfDaySeconds();
        host.setHighPriority(false);
    }
    const double elapsed = elapsedSeconds(t0, t1);

    host.enableMainWindow(true);
    return elapsed;
}

void countNumberOccurrences(SharedState& state) {
    const int32_t* combination = state.combinationStore.get() + 1;
    const int32_t* const end = combination + int64_t{NUMBERS_PER_COMBINATION} * state.generatedCount;
    int32_t* counters = state.numberStatistics.data();
    // Four sets of counters break the dependency between increments of the same number in
    // neighbouring combinations; they are summed at the end.
    int32_t partial[4][64] = {};
    int lane = 0;
    for (; combination != end; combination += NUMBERS_PER_COMBINATION, lane = (lane + 1) & 3) {
        int32_t* c = partial[lane];
        ++c[combination[0] & 63];
        ++c[combination[1] & 63];
        ++c[combination[2] & 63];
        ++c[combination[3] & 63];
        ++c[combination[4] & 63];
        ++c[combination[5] & 63];
        ++c[combination[6] & 63];
    }
    for (int v = 1; v < NUMBER_STATISTICS_ELEMENTS; ++v)
        counters[v] += partial[0][v] + partial[1][v] + partial[2][v] + partial[3][v];
}

}  // namespace quillstep

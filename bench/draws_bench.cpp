// Past draws: a system of 1,000 lines against 100,000 draws (wins), the fourteen modes and eight
// conditions against 100,000 draws (backtest), each number over them (history), and the reading
// of a history file of 100,000 dated draws. The draws and lines come from a fixed generator.

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "draws/backtest.h"
#include "draws/history_reader.h"
#include "draws/number_statistics.h"
#include "draws/wins.h"

namespace quillstep {
namespace {

constexpr size_t DRAWS = 100'000;
constexpr size_t LINES = 1'000;

uint64_t randomCombination(std::mt19937_64& random) {
    uint64_t mask = 0;
    while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % 39);
    return mask;
}

// The text of a history file: "YYYY-MM-DD;a;b;c;d;e;f;g;bonus", one draw a line, oldest last.
const std::string& historyText() {
    static const std::string text = [] {
        std::mt19937_64 random(26);
        std::string out = "Date;N1;N2;N3;N4;N5;N6;N7;Bonus\n";
        for (size_t k = 0; k < DRAWS; ++k) {
            const uint64_t mask = randomCombination(random);
            char date[16];
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", static_cast<int>(2999 - k / 336),
                          static_cast<int>(12 - (k / 28) % 12), static_cast<int>(28 - k % 28));
            out += date;
            for (int v = 1; v <= 39; ++v)
                if (mask >> v & 1) out += ";" + std::to_string(v);
            int bonus = 1;
            while (mask >> bonus & 1) ++bonus;
            out += ";" + std::to_string(bonus) + "\n";
        }
        return out;
    }();
    return text;
}

const History& history() {
    static const History h = [] {
        HistoryReading reading = parseHistoryText(historyText());
        if (!reading.ok() || reading.history.draws.size() != DRAWS) std::abort();
        return std::move(reading.history);
    }();
    return h;
}

void BM_ReadHistory100000Draws(benchmark::State& run) {
    const std::string& text = historyText();
    for (auto _ : run) {
        HistoryReading reading = parseHistoryText(text);
        benchmark::DoNotOptimize(reading.history.draws.data());
    }
    run.counters["bytes"] = static_cast<double>(text.size());
}

void BM_Wins1000Lines100000Draws(benchmark::State& run) {
    std::mt19937_64 random(7);
    std::vector<uint64_t> lines;
    for (size_t k = 0; k < LINES; ++k) lines.push_back(randomCombination(random));
    TicketPrices prices;
    prices.ticketHundredths = 100;
    prices.prizeHundredths = {0, 0, 0, 100, 1000, 10000, 1000000, 100000000};
    const WinsRequest request{&history(), lines.data(), static_cast<int64_t>(lines.size()), prices};
    for (auto _ : run) {
        const WinsResult result = systemWinsOverHistory(request);
        benchmark::DoNotOptimize(result.wonHundredths);
    }
    run.counters["line_draws"] = static_cast<double>(LINES * DRAWS);
}

void BM_Backtest100000Draws(benchmark::State& run) {
    const BacktestRequest request{&history(), GenerationParameters{}};
    for (auto _ : run) {
        const BacktestResult result = backtestFilters(request);
        benchmark::DoNotOptimize(result.modes[11].keptDraws);
    }
}

void BM_NumberStatistics100000Draws(benchmark::State& run) {
    for (auto _ : run) {
        const HistoryStatistics result = historyStatistics({&history(), 10});
        benchmark::DoNotOptimize(result.numbers[25].timesDrawn);
    }
}

BENCHMARK(BM_ReadHistory100000Draws)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Wins1000Lines100000Draws)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Backtest100000Draws)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_NumberStatistics100000Draws)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();

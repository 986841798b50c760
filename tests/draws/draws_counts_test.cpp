// Every count over a history against a plain loop: the numbers' statistics, the filters' kept and
// rejected draws and their combinations, a system's wins. The histories mix random draws with
// draws taken from filtered stores, so that the filters both keep and reject.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "draws/backtest.h"
#include "draws/history.h"
#include "draws/number_statistics.h"
#include "draws/wins.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

// A draw of the seven numbers (any order; they must be distinct and lie in 1..39).
PastDraw pastDrawOf(const std::array<int32_t, NUMBERS_PER_COMBINATION>& numbers) {
    PastDraw draw;
    draw.numbers = numbers;
    std::sort(draw.numbers.begin(), draw.numbers.end());
    for (const int32_t v : draw.numbers) draw.mask |= uint64_t{1} << v;
    return draw;
}

std::array<int32_t, 7> numbersOfMask(uint64_t mask) {
    std::array<int32_t, 7> numbers{};
    for (size_t k = 0; k < 7; ++k) {
        numbers[k] = std::countr_zero(mask);
        mask &= mask - 1;
    }
    return numbers;
}

uint64_t randomDraw(std::mt19937& random) {
    uint64_t mask = 0;
    while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % 39);
    return mask;
}

// `count` draws: a third random, the rest taken from the stores given.
History generatedHistory(uint32_t seed, size_t count, const std::vector<std::vector<uint64_t>>& stores) {
    std::mt19937 random(seed);
    History history;
    for (size_t k = 0; k < count; ++k) {
        const size_t pick = random() % (stores.size() + 1);
        const uint64_t mask = pick == stores.size() || stores[pick].empty()
                                  ? randomDraw(random)
                                  : stores[pick][random() % stores[pick].size()];
        history.draws.push_back(pastDrawOf(numbersOfMask(mask)));
    }
    return history;
}

const std::vector<std::vector<uint64_t>>& filteredStores() {
    static const std::vector<std::vector<uint64_t>> stores{storeOfMode(12), storeOfMode(9), storeOfMode(13),
                                                           storeOfMode(14)};
    return stores;
}

TEST(DrawsStatistics, NumbersAndPairsMatchAPlainLoop) {
    for (const uint32_t seed : {1u, 2u, 3u}) {
        const History history = generatedHistory(seed, seed == 1 ? 1 : 700 * seed, filteredStores());
        const HistoryStatistics s = historyStatistics({&history, 10});
        const int64_t n = static_cast<int64_t>(history.draws.size());
        ASSERT_EQ(s.draws, n);
        for (int v = 1; v <= 39; ++v) {
            int64_t times = 0, since = NEVER_DRAWN, longest = 0, run = 0;
            for (int64_t d = 0; d < n; ++d) {
                if (history.draws[static_cast<size_t>(d)].mask >> v & 1) {
                    ++times;
                    since = n - 1 - d;
                    run = 0;
                } else {
                    longest = std::max(longest, ++run);
                }
            }
            EXPECT_EQ(s.numbers[v].timesDrawn, times) << "seed " << seed << " number " << v;
            EXPECT_EQ(s.numbers[v].drawsSinceLast, since) << "seed " << seed << " number " << v;
            EXPECT_EQ(s.numbers[v].longestWait, longest) << "seed " << seed << " number " << v;
        }
        std::vector<std::tuple<int64_t, int, int>> pairs;
        for (int a = 1; a <= 39; ++a)
            for (int b = a + 1; b <= 39; ++b) {
                const uint64_t both = (uint64_t{1} << a) | (uint64_t{1} << b);
                int64_t together = 0;
                for (const PastDraw& draw : history.draws) together += (draw.mask & both) == both;
                pairs.emplace_back(-together, a, b);
            }
        std::sort(pairs.begin(), pairs.end());
        ASSERT_EQ(s.topPairs.size(), 10u);
        for (size_t k = 0; k < 10; ++k) {
            EXPECT_EQ(s.topPairs[k].timesDrawn, -std::get<0>(pairs[k])) << k;
            EXPECT_EQ(s.topPairs[k].first, std::get<1>(pairs[k])) << k;
            EXPECT_EQ(s.topPairs[k].second, std::get<2>(pairs[k])) << k;
        }
    }
}

// The conditions written afresh from their descriptions, on masks.
bool plainAccepts(ConditionFlag c, uint64_t m, const GenerationParameters& p) {
    const auto numbers = numbersOfMask(m);
    int sum = 0;
    for (int v : numbers) sum += v;
    const uint64_t below = p.rangeLimit >= 63 ? ~uint64_t{0} : (uint64_t{2} << p.rangeLimit) - 2;
    const uint64_t odd = 0xAAAAAAAAAAAAAAAAull;
    uint64_t excluded = 0;
    for (int k = 1; k <= 7; ++k) excluded |= uint64_t{1} << p.excludedNumbers[k];
    switch (c) {
        case RANGE: return std::popcount(m & below) == p.rangeCount;
        case ODD_EVEN: return std::popcount(m & odd) >= p.minOdd && std::popcount(m & ~odd) >= p.minEven;
        case SUM: return sum >= p.minSum && sum <= p.maxSum;
        case FORCED: return (m >> p.forcedNumber & 1) != 0;
        case MIN_MAX: return numbers[0] >= p.minNumber && numbers[6] <= p.maxNumber;
        case NEIGHBOURS: return std::popcount(m & (m >> 1)) <= p.maxNeighbours;
        case ALL_EXCLUDED: return (m & excluded) == 0;
        case FIVE_EXCLUDED: return std::popcount(m & excluded) <= 2;
    }
    return false;
}

bool plainKept(int mode, uint64_t m, const GenerationParameters& p) {
    if (std::countl_zero(m) < 63 - p.totalNumbers) return false;  // a number above the total
    for (const ConditionFlag c : BACKTEST_CONDITIONS)
        if ((GenerationModes[mode - 1].conditions & c) && !plainAccepts(c, m, p)) return false;
    return true;
}

// Every combination of 1..n the mode keeps, visited one by one.
int64_t plainCombinations(int mode, const GenerationParameters& p) {
    int64_t count = 0;
    const int n = p.totalNumbers;
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b)
            for (int c = b + 1; c <= n; ++c)
                for (int d = c + 1; d <= n; ++d)
                    for (int e = d + 1; e <= n; ++e)
                        for (int f = e + 1; f <= n; ++f)
                            for (int g = f + 1; g <= n; ++g) {
                                const uint64_t m = (uint64_t{1} << a) | (uint64_t{1} << b) | (uint64_t{1} << c) |
                                                   (uint64_t{1} << d) | (uint64_t{1} << e) | (uint64_t{1} << f) |
                                                   (uint64_t{1} << g);
                                count += plainKept(mode, m, p);
                            }
    return count;
}

GenerationParameters randomParameters(std::mt19937& random) {
    for (;;) {
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        GenerationParameters p;
        p.totalNumbers = pick(0, 2) == 0 ? 39 : pick(14, 24);
        p.minSum = pick(60, 160);
        p.maxSum = std::min(252, p.minSum + pick(0, 70));
        p.minOdd = pick(0, 4);
        p.minEven = pick(0, 7 - p.minOdd);
        p.forcedNumber = pick(1, 39);
        p.rangeCount = pick(0, 7);
        p.rangeLimit = pick(7, 39);
        p.minNumber = pick(1, 10);
        p.maxNumber = pick(std::max(p.minNumber + 1, 25), 39);
        p.maxNeighbours = pick(0, 3);
        std::set<int> excluded;
        while (excluded.size() < 7) excluded.insert(pick(1, 39));
        int k = 1;
        for (int v : excluded) p.excludedNumbers[k++] = v;
        if (!findUnreachableParameter(p)) return p;
    }
}

void expectBacktestMatches(const History& history, const GenerationParameters& p, bool combinations) {
    const BacktestResult r = backtestFilters({&history, p});
    ASSERT_EQ(r.draws, static_cast<int64_t>(history.draws.size()));
    int64_t above = 0;
    for (const PastDraw& draw : history.draws) above += std::countl_zero(draw.mask) < 63 - p.totalNumbers;
    EXPECT_EQ(r.drawsAboveTotal, above);
    for (int mode = 1; mode <= 14; ++mode) {
        int64_t kept = 0;
        for (const PastDraw& draw : history.draws) kept += plainKept(mode, draw.mask, p);
        EXPECT_EQ(r.modes[mode - 1].mode, mode);
        EXPECT_EQ(r.modes[mode - 1].keptDraws, kept) << "mode " << mode << " total " << p.totalNumbers;
        if (combinations) {
            EXPECT_EQ(r.modes[mode - 1].keptCombinations, plainCombinations(mode, p)) << "mode " << mode;
        }
    }
    for (size_t c = 0; c < BACKTEST_CONDITIONS.size(); ++c) {
        int64_t rejected = 0;
        for (const PastDraw& draw : history.draws) rejected += !plainAccepts(BACKTEST_CONDITIONS[c], draw.mask, p);
        EXPECT_EQ(r.conditions[c].condition, BACKTEST_CONDITIONS[c]);
        EXPECT_EQ(r.conditions[c].rejectedDraws, rejected) << "condition " << c;
    }
}

TEST(DrawsBacktest, DefaultParametersMatchAPlainLoopAndTheStores) {
    const History history = generatedHistory(11, 3000, filteredStores());
    const GenerationParameters defaults;
    expectBacktestMatches(history, defaults, false);
    // The draws a storing mode keeps are exactly those of the history its store holds.
    const BacktestResult r = backtestFilters({&history, defaults});
    for (int mode : {9, 12, 13, 14}) {
        const std::vector<uint64_t> store = storeOfMode(mode);
        const std::set<uint64_t> stored(store.begin(), store.end());
        int64_t inStore = 0;
        for (const PastDraw& draw : history.draws) inStore += stored.count(draw.mask);
        EXPECT_GT(inStore, 0);
        EXPECT_EQ(r.modes[mode - 1].keptDraws, inStore) << "mode " << mode;
        EXPECT_EQ(r.modes[mode - 1].keptCombinations, static_cast<int64_t>(store.size())) << "mode " << mode;
    }
    EXPECT_EQ(r.modes[0].keptCombinations, ALL_DRAWN_COMBINATIONS);
    EXPECT_EQ(r.modes[0].keptDraws, 3000);
}

TEST(DrawsBacktest, RandomParametersMatchAPlainLoop) {
    std::mt19937 random(26);
    for (int trial = 0; trial < 12; ++trial) {
        const GenerationParameters p = randomParameters(random);
        const History history = generatedHistory(100 + trial, 800, filteredStores());
        // Every combination counted afresh only where the total keeps that quick.
        expectBacktestMatches(history, p, p.totalNumbers <= 24);
    }
}

TEST(DrawsWins, BestLinesHitsAndMoneyMatchAPlainLoop) {
    std::mt19937 random(5);
    for (const size_t lineCount : {size_t{1}, size_t{14}, size_t{300}}) {
        const std::vector<uint64_t> lines = randomDistinctCombinations(static_cast<uint32_t>(lineCount), 39, lineCount);
        std::vector<std::vector<uint64_t>> stores = filteredStores();
        stores.push_back(lines);  // some draws hit a line in full
        const History history = generatedHistory(static_cast<uint32_t>(lineCount), 2000, stores);
        TicketPrices prices;
        prices.ticketHundredths = 150;
        prices.prizeHundredths = {0, 0, 0, 100, 1050, 50000, 1000000, 1000000000};
        const WinsResult r =
            systemWinsOverHistory({&history, lines.data(), static_cast<int64_t>(lines.size()), prices});
        std::array<int64_t, 8> best{}, hits{};
        int64_t won = 0;
        ASSERT_EQ(r.bestLine.size(), history.draws.size());
        for (size_t d = 0; d < history.draws.size(); ++d) {
            int most = -1;
            size_t at = 0;
            for (size_t k = 0; k < lines.size(); ++k) {
                const int h = std::popcount(history.draws[d].mask & lines[k]);
                ++hits[h];
                won += prices.prizeHundredths[h];
                if (h > most) most = h, at = k;
            }
            ++best[most];
            ASSERT_EQ(r.bestLine[d], static_cast<int32_t>(at)) << "draw " << d;
            ASSERT_EQ(r.bestMatch[d], most) << "draw " << d;
        }
        EXPECT_EQ(r.drawsByBestMatch, best);
        EXPECT_EQ(r.lineHits, hits);
        EXPECT_GT(best[7], 0);
        EXPECT_TRUE(r.priced);
        EXPECT_EQ(r.costHundredths, static_cast<int64_t>(lineCount) * 150 * 2000);
        EXPECT_EQ(r.wonHundredths, won);
        EXPECT_EQ(r.balanceHundredths(), won - r.costHundredths);
    }
}

TEST(DrawsPrices, AmountsAndPrizesAreReadStrictly) {
    EXPECT_EQ(parseAmount("2"), 200);
    EXPECT_EQ(parseAmount("2.5"), 250);
    EXPECT_EQ(parseAmount("0.05"), 5);
    EXPECT_EQ(parseAmount("10000000"), 1'000'000'000);
    for (const char* bad : {"", ".5", "2.", "2.555", "-1", "1e3", "10000000.01", "2,5", " 2"})
        EXPECT_EQ(parseAmount(bad), std::nullopt) << bad;
    TicketPrices prices;
    EXPECT_EQ(parsePrizes("7=1000000,3=1,4=10.5", prices), "");
    EXPECT_EQ(prices.prizeHundredths, (std::array<int64_t, 8>{0, 0, 0, 100, 1050, 0, 0, 100000000}));
    EXPECT_EQ(parsePrizes("3=1,3=2", prices), "the prize for 3 hits is given twice");
    for (const char* bad : {"", "8=1", "3", "3=", "3=x", "3=1,,4=2", "0=1"})
        EXPECT_NE(parsePrizes(bad, prices), "") << bad;
    EXPECT_EQ(amountText(0), "0");
    EXPECT_EQ(amountText(1250), "12.50");
    EXPECT_EQ(amountText(-305), "-3.05");
    EXPECT_EQ(amountText(-300), "-3");
}

}  // namespace
}  // namespace quillstep

// The kernels against the figures users know and against a plain enumeration written here.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/generation_mode.h"
#include "engine/kernel.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {
namespace {

using Row = std::array<int32_t, 7>;

// Every combination of 1..n in lexicographic order, each condition of the mode written out as the
// user reads it.
std::vector<Row> referenceRows(int mode, const GenerationParameters& p, int n) {
    const uint32_t c = GenerationModes[mode - 1].conditions;
    std::vector<Row> rows;
    Row a{};
    auto accept = [&](const Row& r) {
        int sum = 0, odd = 0, inRange = 0, neighbours = 0, excluded = 0;
        bool forced = false;
        for (int i = 0; i < 7; ++i) {
            sum += r[i];
            odd += r[i] % 2;
            inRange += r[i] <= p.rangeLimit;
            forced = forced || r[i] == p.forcedNumber;
            if (i > 0 && r[i] - r[i - 1] == 1) ++neighbours;
            for (int j = 1; j <= 7; ++j) excluded += r[i] == p.excludedNumbers[j];
        }
        if ((c & RANGE) && inRange != p.rangeCount) return false;
        if ((c & ODD_EVEN) && (odd < p.minOdd || 7 - odd < p.minEven)) return false;
        if ((c & SUM) && (sum < p.minSum || sum > p.maxSum)) return false;
        if ((c & FORCED) && !forced) return false;
        if ((c & MIN_MAX) && (r[0] < p.minNumber || r[6] > p.maxNumber)) return false;
        if ((c & NEIGHBOURS) && neighbours > p.maxNeighbours) return false;
        if ((c & ALL_EXCLUDED) && excluded > 0) return false;
        if ((c & FIVE_EXCLUDED) && excluded > 2) return false;
        return true;
    };
    auto walk = [&](auto&& self, int position, int from) -> void {
        if (position == 7) {
            if (accept(a)) rows.push_back(a);
            return;
        }
        for (int v = from; v <= n - (6 - position); ++v) {
            a[position] = v;
            self(self, position + 1, v + 1);
        }
    };
    walk(walk, 0, 1);
    return rows;
}

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { state_ = createSharedState().release(); }
    static void TearDownTestSuite() { delete state_; }
    void SetUp() override { state_->parameters = GenerationParameters{}; }

    int32_t run(int mode) {
        runGeneration(*state_, platform_, mode);
        return state_->generatedCount;
    }
    Row stored(int64_t j) const {
        Row r;
        std::copy_n(state_->storedCombination(j), 7, r.begin());
        return r;
    }

    static SharedState* state_;
    HeadlessPlatform platform_;
};
SharedState* EngineTest::state_ = nullptr;

TEST_F(EngineTest, CountsOfEveryModeWithDefaultsAt39) {
    const int32_t expected[15] = {0,       15380937, 15380937, 2363628, 2363628, 4418640, 4418640, 613777,
                                  613777,  99427,    10580,    10580,   10276,   833,     10276};
    for (int mode = 1; mode <= 14; ++mode) EXPECT_EQ(run(mode), expected[mode]) << "mode " << mode;
}

TEST_F(EngineTest, CountsOfEveryModeWithDefaultsAt10) {
    state_->parameters.totalNumbers = 10;
    for (int mode = 1; mode <= 14; ++mode) {
        const int32_t expected = mode <= 2 ? 120 : (mode == 5 || mode == 6) ? 50 : 0;
        EXPECT_EQ(run(mode), expected) << "mode " << mode;
    }
}

TEST_F(EngineTest, FullWheelIsStoredInLexicographicOrder) {
    ASSERT_EQ(run(2), 15380937);
    EXPECT_EQ(stored(0), (Row{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(stored(1), (Row{1, 2, 3, 4, 5, 6, 8}));
    EXPECT_EQ(stored(32), (Row{1, 2, 3, 4, 5, 6, 39}));
    EXPECT_EQ(stored(33), (Row{1, 2, 3, 4, 5, 7, 8}));
    EXPECT_EQ(stored(15380936), (Row{33, 34, 35, 36, 37, 38, 39}));
    EXPECT_EQ(state_->combinationStore[107666559], 39);
    for (int64_t j = 1; j < 15380937; ++j) {
        const Row a = stored(j - 1), b = stored(j);
        for (int i = 0; i < 6; ++i) ASSERT_LT(b[i], b[i + 1]) << "row " << j;
        ASSERT_TRUE(std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end())) << "row " << j;
    }

    // Every number occurs in C(38, 6) combinations of the full wheel.
    state_->numberStatistics.fill(0);
    countNumberOccurrences(*state_);
    for (int v = 1; v <= 39; ++v) EXPECT_EQ(state_->numberStatistics[v], 2760681) << v;
    EXPECT_EQ(state_->numberStatistics[0], 0);
    EXPECT_EQ(state_->numberStatistics[40], 0);

    // A counting run changes the count but not the store.
    state_->parameters.totalNumbers = 8;
    EXPECT_EQ(run(1), 8);
    EXPECT_EQ(stored(15380936), (Row{33, 34, 35, 36, 37, 38, 39}));
    EXPECT_EQ(stored(1), (Row{1, 2, 3, 4, 5, 6, 8}));
}

TEST_F(EngineTest, ShorterStoringRunLeavesTheRestOfTheStoreAlone) {
    ASSERT_EQ(run(2), 15380937);
    state_->parameters.totalNumbers = 8;
    ASSERT_EQ(run(2), 8);
    const Row expected[8] = {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 8}, {1, 2, 3, 4, 5, 7, 8},
                             {1, 2, 3, 4, 6, 7, 8}, {1, 2, 3, 5, 6, 7, 8}, {1, 2, 4, 5, 6, 7, 8},
                             {1, 3, 4, 5, 6, 7, 8}, {2, 3, 4, 5, 6, 7, 8}};
    for (int j = 0; j < 8; ++j) EXPECT_EQ(stored(j), expected[j]);
    // Combination 9 of the full wheel is (1,2,3,4,5,6,15): untouched behind the new end.
    EXPECT_EQ(stored(8), (Row{1, 2, 3, 4, 5, 6, 15}));
    EXPECT_EQ(state_->combinationStore[0], 0);

    // A storing run that accepts nothing writes nothing and counts nothing.
    state_->parameters.totalNumbers = 10;
    ASSERT_EQ(run(4), 0);
    EXPECT_EQ(stored(0), (Row{1, 2, 3, 4, 5, 6, 7}));
    state_->numberStatistics.fill(0);
    countNumberOccurrences(*state_);
    for (int v = 0; v <= 40; ++v) EXPECT_EQ(state_->numberStatistics[v], 0);
}

TEST_F(EngineTest, RunSetsUpTimesAndRestoresWindowAndPriority) {
    std::vector<double> readings{100.25, 100.75};
    size_t next = 0;
    platform_.clock = [&] { return readings[next++]; };
    state_->parameters.totalNumbers = 8;
    EXPECT_DOUBLE_EQ(runGeneration(*state_, platform_, 1), 0.5);
    EXPECT_EQ(state_->boundTable[1], 3);
    EXPECT_EQ(state_->boundTable[7], 9);
    EXPECT_EQ(platform_.mainWindowEnableHistory, (std::vector<bool>{false, true}));
    EXPECT_EQ(platform_.priorityHistory, (std::vector<bool>{true, false}));

    // Outside 1..14 nothing runs, no priority change, zero seconds and count, store untouched.
    state_->generatedCount = 77;
    for (int mode : {0, 15, -3}) {
        EXPECT_EQ(runGeneration(*state_, platform_, mode), 0.0);
        EXPECT_EQ(state_->generatedCount, 0);
    }
    EXPECT_EQ(next, 2u);
    EXPECT_EQ(platform_.priorityHistory.size(), 2u);
    EXPECT_TRUE(platform_.mainWindowEnabled);

    // A run across midnight does not report a negative time.
    readings = {86399.9, 0.15};
    next = 0;
    EXPECT_NEAR(runGeneration(*state_, platform_, 1), 0.25, 1e-9);
    EXPECT_DOUBLE_EQ(elapsedSeconds(10.0, 10.0), 0.0);
}

TEST_F(EngineTest, ConditionEdgesFromTheUsersGuide) {
    GenerationParameters& p = state_->parameters;
    p.minSum = p.maxSum = 28;
    EXPECT_EQ(run(4), 1);
    EXPECT_EQ(stored(0), (Row{1, 2, 3, 4, 5, 6, 7}));
    p.minSum = p.maxSum = 252;
    EXPECT_EQ(run(4), 1);
    EXPECT_EQ(stored(0), (Row{33, 34, 35, 36, 37, 38, 39}));
    p = GenerationParameters{};
    p.minOdd = 7;
    p.minEven = 0;
    EXPECT_EQ(run(5), 77520);  // C(20, 7): only odd numbers
    p.minOdd = 0;
    EXPECT_EQ(run(5), 15380937);
    // Forced number above the total after lowering it: modes 9 to 14 find nothing.
    p = GenerationParameters{};
    p.totalNumbers = 20;
    for (int mode = 9; mode <= 14; ++mode) EXPECT_EQ(run(mode), 0) << mode;
}

// Random parameter states the buttons can reach, including those left behind after lowering the
// total of numbers (forced number, range limit, largest number and excluded numbers above it).
GenerationParameters randomReachableState(std::mt19937& rng, int n) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    GenerationParameters p;
    p.totalNumbers = n;
    // Sums near what n allows, so that the sum condition both passes and fails.
    const int low = 28, high = 7 * n - 21;
    p.minSum = pick(low, std::min(252, high + 10));
    p.maxSum = std::min(252, p.minSum + pick(0, 60));
    p.minOdd = pick(0, 7);
    p.minEven = pick(0, 7 - p.minOdd);
    p.forcedNumber = pick(1, pick(0, 4) == 0 ? 39 : n);
    p.rangeCount = pick(0, 7);
    p.rangeLimit = pick(7, pick(0, 4) == 0 ? 39 : std::max(7, n));
    p.minNumber = pick(1, std::min(38, n));
    p.maxNumber = pick(p.minNumber + 1, pick(0, 4) == 0 ? 39 : std::max(p.minNumber + 1, n));
    p.maxNeighbours = pick(0, 6);
    std::vector<int> numbers(39);
    for (int i = 0; i < 39; ++i) numbers[i] = i + 1;
    std::shuffle(numbers.begin(), numbers.end(), rng);
    const int spread = pick(0, 2) == 0 ? 39 : std::min(39, n + 2);
    std::vector<int> chosen;
    for (int v : numbers)
        if (v <= spread && chosen.size() < 7) chosen.push_back(v);
    std::sort(chosen.begin(), chosen.end());
    for (int i = 0; i < 7; ++i) p.excludedNumbers[i + 1] = chosen[i];
    return p;
}

TEST_F(EngineTest, RandomReachableStatesMatchPlainEnumeration) {
    std::mt19937 rng(20261207);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = trial % 25 == 0 ? 26 : std::uniform_int_distribution<int>(8, 18)(rng);
        const GenerationParameters p = randomReachableState(rng, n);
        ASSERT_EQ(findUnreachableParameter(p), std::nullopt);
        state_->parameters = p;
        for (int mode = 1; mode <= 14; ++mode) {
            const std::vector<Row> expected = referenceRows(mode, p, n);
            ASSERT_EQ(run(mode), static_cast<int32_t>(expected.size())) << "trial " << trial << " mode " << mode;
            if (!isStoringMode(mode)) continue;
            for (size_t j = 0; j < expected.size(); ++j)
                ASSERT_EQ(stored(j), expected[j]) << "trial " << trial << " mode " << mode << " row " << j;
        }
    }
}

TEST_F(EngineTest, PlainKernelAgreesWithTheFastOne) {
    std::mt19937 rng(7);
    std::vector<int32_t> plainStore(7 * 400'000);
    for (int trial = 0; trial < 40; ++trial) {
        const int n = std::uniform_int_distribution<int>(8, 22)(rng);
        state_->parameters = randomReachableState(rng, n);
        for (int mode = 1; mode <= 14; ++mode) {
            const int32_t count = runPlainKernel(mode, state_->parameters, n, plainStore.data());
            ASSERT_EQ(run(mode), count) << "mode " << mode;
            if (isStoringMode(mode)) {
                ASSERT_TRUE(std::equal(plainStore.begin(), plainStore.begin() + 7 * count,
                                       state_->combinationStore.get() + 1));
            }
        }
    }
}

}  // namespace
}  // namespace quillstep

#include "wheels/greedy/bit_lane_passes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <random>
#include <unordered_set>
#include <vector>

#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "wheels/greedy/greedy_pass.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/greedy/store_trie.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

using Numbers = std::array<uint8_t, 7>;

Numbers numbersOf(uint64_t mask) {
    Numbers numbers{};
    for (auto& number : numbers) {
        number = static_cast<uint8_t>(std::countr_zero(mask));
        mask &= mask - 1;
    }
    return numbers;
}

// `count` distinct combinations of 1..totalNumbers (fewer if there are not that many), as masks
// in lexicographic order of their numbers.
std::vector<uint64_t> randomStore(std::mt19937_64& random, int totalNumbers, size_t count) {
    int64_t possible = 1;
    for (int i = 0; i < 7; ++i) possible = possible * (totalNumbers - i) / (i + 1);
    count = std::min<size_t>(count, static_cast<size_t>(possible));
    std::unordered_set<uint64_t> chosen;
    while (chosen.size() < count) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % totalNumbers);
        chosen.insert(mask);
    }
    std::vector<Numbers> sorted;
    for (uint64_t mask : chosen) sorted.push_back(numbersOf(mask));
    std::sort(sorted.begin(), sorted.end());
    std::vector<uint64_t> masks;
    for (const Numbers& numbers : sorted) {
        uint64_t mask = 0;
        for (uint8_t n : numbers) mask |= uint64_t{1} << n;
        masks.push_back(mask);
    }
    return masks;
}

int32_t scanPassSize(const std::vector<uint64_t>& masks, int hits, int32_t startIndex, int32_t stopSize) {
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    GreedyPassRequest request;
    request.masks = masks.data();
    request.count = static_cast<int32_t>(masks.size());
    request.guaranteedHits = hits;
    request.startIndex = startIndex;
    request.stopSize = stopSize;
    request.systemMasks = system.data();
    return runGreedyPass(fastestPassKernel(hits), request);
}

// Every lane of `batch` against the scan with the same start and stop size.
void expectLanesMatchTheScan(const std::vector<uint64_t>& masks, int hits, LaneBatch& batch, const char* what) {
    const std::optional<StoreTrie> trie = buildStoreTrie(masks, laneTrieRootDepth(hits));
    ASSERT_TRUE(trie.has_value()) << what;
    LaneCoverage coverage(hits);
    runLanePasses(*trie, masks, coverage, batch);
    for (int lane = 0; lane < batch.lanes; ++lane)
        ASSERT_EQ(batch.size[lane], scanPassSize(masks, hits, batch.startIndex[lane], batch.stopSize[lane]))
            << what << " G" << hits << " lane " << lane << " start index " << batch.startIndex[lane] << " stop "
            << batch.stopSize[lane];
}

// The leaves met by walking the tree in number order, as store indices.
void collectLeaves(const StoreTrie& trie, int depth, int32_t node, std::vector<Numbers>& prefixes, Numbers prefix,
                   std::vector<int32_t>& leaves) {
    const uint64_t followers = trie.followers[depth][static_cast<size_t>(node)];
    int32_t child = trie.firstChild[depth][static_cast<size_t>(node)];
    for (uint64_t rest = followers; rest; rest &= rest - 1, ++child) {
        prefix[depth] = static_cast<uint8_t>(std::countr_zero(rest));
        if (depth == 6) {
            leaves.push_back(child);
            prefixes.push_back(prefix);
        } else {
            collectLeaves(trie, depth + 1, child, prefixes, prefix, leaves);
        }
    }
}

TEST(StoreTrie, WalkingItInNumberOrderMeetsEveryCombinationInStoreOrder) {
    std::mt19937_64 random(11);
    for (int round = 0; round < 8; ++round) {
        const int totalNumbers = 9 + round * 4;
        const std::vector<uint64_t> masks = randomStore(random, totalNumbers, 50 + random() % 4000);
        for (int depth : {3, 4}) {
            const std::optional<StoreTrie> trie = buildStoreTrie(masks, depth);
            ASSERT_TRUE(trie.has_value());
            std::vector<int32_t> leaves;
            std::vector<Numbers> combinations;
            for (size_t root = 0; root < trie->rootNumbers.size(); ++root) {
                Numbers prefix{};
                std::copy_n(trie->rootNumbers[root].begin(), depth, prefix.begin());
                collectLeaves(*trie, depth, static_cast<int32_t>(root), combinations, prefix, leaves);
            }
            ASSERT_EQ(leaves.size(), masks.size());
            for (size_t j = 0; j < masks.size(); ++j) {
                ASSERT_EQ(leaves[j], static_cast<int32_t>(j)) << "numbers " << totalNumbers << " depth " << depth;
                ASSERT_EQ(combinations[j], numbersOf(masks[j]));
            }
        }
    }
}

TEST(StoreTrie, RefusesStoresItCannotHold) {
    std::mt19937_64 random(12);
    const std::vector<uint64_t> store = randomStore(random, 20, 300);
    ASSERT_TRUE(buildStoreTrie(store, 3).has_value());
    ASSERT_TRUE(buildStoreTrie({}, 3).has_value());  // nothing stored: a tree without roots

    auto swapped = store;
    std::swap(swapped[100], swapped[101]);
    EXPECT_FALSE(buildStoreTrie(swapped, 3).has_value()) << "out of order";
    auto doubled = store;
    doubled[101] = doubled[100];
    EXPECT_FALSE(buildStoreTrie(doubled, 4).has_value()) << "stored twice";
    auto six = store;
    six.back() &= six.back() - 1;
    EXPECT_FALSE(buildStoreTrie(six, 3).has_value()) << "six numbers";
    auto high = store;
    high.push_back(0x7Full << 34);  // 34..40: above every stored combination, but 40 is too high
    EXPECT_FALSE(buildStoreTrie(high, 3).has_value()) << "number 40";
    high.back() = 0x7Full << 33;  // 33..39 fits
    EXPECT_TRUE(buildStoreTrie(high, 3).has_value());
}

TEST(LanePasses, EveryLaneEndsWithTheScansSizeUnderAnyStopSize) {
    std::mt19937_64 random(13);
    for (int round = 0; round < 24; ++round) {
        const int totalNumbers = 9 + static_cast<int>(random() % 31);
        const std::vector<uint64_t> masks = randomStore(random, totalNumbers, 1 + random() % 3000);
        const int32_t count = static_cast<int32_t>(masks.size());
        for (int hits : {4, 5}) {
            LaneBatch batch;
            batch.lanes = 1 + static_cast<int>(random() % PASS_LANES);
            for (int lane = 0; lane < batch.lanes; ++lane) {
                // Starting combinations may repeat within a batch; stop sizes lie around each
                // pass's own size, at its ends (1 and the capacity) and anywhere between.
                batch.startIndex[lane] = static_cast<int32_t>(random() % count);
                const int32_t size = scanPassSize(masks, hits, batch.startIndex[lane], ABBREVIATED_SYSTEM_CAPACITY);
                const int32_t choices[] = {1, 2, size - 1, size, size + 1, ABBREVIATED_SYSTEM_CAPACITY,
                                           1 + static_cast<int32_t>(random() % 1000)};
                batch.stopSize[lane] = std::clamp(choices[random() % 7], 1, ABBREVIATED_SYSTEM_CAPACITY);
            }
            expectLanesMatchTheScan(masks, hits, batch, "random store");
        }
    }
}

TEST(LanePasses, LargeStoresAgreeWithTheScan) {
    std::mt19937_64 random(14);
    struct Store {
        const char* name;
        std::vector<uint64_t> masks;
    };
    const Store stores[] = {{"random 300,000 of 39", randomStore(random, 39, 300000)},
                            {"mode 9 (99,427)", storeOfMode(9)}};
    for (const Store& store : stores) {
        const int32_t count = static_cast<int32_t>(store.masks.size());
        for (int hits : {4, 5}) {
            LaneBatch batch;
            batch.lanes = PASS_LANES;
            for (int lane = 0; lane < PASS_LANES; ++lane) {
                batch.startIndex[lane] = lane < 2 ? lane * (count - 1) : static_cast<int32_t>(random() % count);
                batch.stopSize[lane] = ABBREVIATED_SYSTEM_CAPACITY;
            }
            expectLanesMatchTheScan(store.masks, hits, batch, store.name);
        }
    }
}

BestStart search(const std::vector<uint64_t>& masks, int hits, StartSearchPath path, unsigned threads = 0) {
    StartSearchOptions options;
    options.path = path;
    options.threads = threads;
    options.answerProvenCapacityAtOnce = false;
    return findBestStart(masks, hits, options);
}

TEST(LaneSearch, GivesTheScansAnswerOnMidSizedStoresWithAnyThreadCount) {
    std::mt19937_64 random(15);
    for (int round = 0; round < 6; ++round) {
        const int totalNumbers = 12 + round * 5;
        const std::vector<uint64_t> masks = randomStore(random, totalNumbers, 1500 + random() % 3000);
        for (int hits : {4, 5}) {
            const BestStart scan = search(masks, hits, StartSearchPath::Scan, 2);
            ASSERT_EQ(scan.pathUsed, StartSearchPath::Scan);
            for (unsigned threads : {1u, 2u, 3u}) {
                const BestStart lanes = search(masks, hits, StartSearchPath::Lanes, threads);
                ASSERT_EQ(lanes.pathUsed, StartSearchPath::Lanes);
                EXPECT_EQ(lanes.bestStart, scan.bestStart) << "numbers " << totalNumbers << " G" << hits;
                EXPECT_EQ(lanes.bestSize, scan.bestSize) << "numbers " << totalNumbers << " G" << hits;
                EXPECT_EQ(lanes.startsChecked, static_cast<int32_t>(masks.size()));
                EXPECT_FALSE(lanes.stopped);
            }
        }
    }
}

TEST(LaneSearch, AutomaticTakesTheLanesWhereTheyPayAndTheScanElsewhere) {
    const std::vector<uint64_t> mode12 = storeOfMode(12);  // 10,276 stored, sharing their beginnings
    std::mt19937_64 random(16);
    const std::vector<uint64_t> small = randomStore(random, 30, LANE_SEARCH_MIN_STORE - 1);
    const std::vector<uint64_t> scattered = randomStore(random, 39, 5000);
    EXPECT_EQ(search(mode12, 4, StartSearchPath::Automatic).pathUsed, StartSearchPath::Lanes);
    EXPECT_EQ(search(mode12, 5, StartSearchPath::Automatic).pathUsed, StartSearchPath::Lanes);
    EXPECT_EQ(search(small, 4, StartSearchPath::Automatic).pathUsed, StartSearchPath::Scan);
    EXPECT_EQ(search(scattered, 4, StartSearchPath::Automatic).pathUsed, StartSearchPath::Lanes);
    EXPECT_EQ(search(scattered, 5, StartSearchPath::Automatic).pathUsed, StartSearchPath::Scan);

    // Where the lanes cannot run, asking for them scans, with the same answer.
    auto unordered = randomStore(random, 25, 3000);
    std::reverse(unordered.begin(), unordered.end());
    const BestStart asked = search(unordered, 4, StartSearchPath::Lanes);
    EXPECT_EQ(asked.pathUsed, StartSearchPath::Scan);
    const BestStart scanned = search(unordered, 4, StartSearchPath::Scan);
    EXPECT_EQ(asked.bestStart, scanned.bestStart);
    EXPECT_EQ(asked.bestSize, scanned.bestSize);
    EXPECT_EQ(search(mode12, 6, StartSearchPath::Lanes).pathUsed, StartSearchPath::Scan);
}

TEST(LaneSearch, AStopRequestKeepsTheBestOfTheCheckedStarts) {
    const std::vector<uint64_t> masks = storeOfMode(12);
    int polls = 0;
    StartSearchOptions options;
    options.path = StartSearchPath::Lanes;
    options.pollMilliseconds = 1;
    options.stopRequested = [&] { return ++polls >= 4; };
    const BestStart stopped = findBestStart(masks, 4, options);
    ASSERT_EQ(stopped.pathUsed, StartSearchPath::Lanes);
    ASSERT_TRUE(stopped.stopped);
    ASSERT_LT(stopped.startsChecked, static_cast<int32_t>(masks.size()));
    BestStart expected;
    for (int32_t start = 1; start <= stopped.startsChecked; ++start) {
        const int32_t size = scanPassSize(masks, 4, start - 1, ABBREVIATED_SYSTEM_CAPACITY);
        if (size < expected.bestSize) expected.bestStart = start, expected.bestSize = size;
    }
    EXPECT_EQ(stopped.bestStart, expected.bestStart);
    EXPECT_EQ(stopped.bestSize, expected.bestSize);
}

}  // namespace
}  // namespace quillstep

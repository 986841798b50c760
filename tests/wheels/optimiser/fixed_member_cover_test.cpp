// CTest label: threads
// The optimiser with members fixed: which stored combinations the fixed members cover, and the
// members it adds, against a plain loop over numbers.

#include "wheels/optimiser/fixed_member_cover.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

namespace quillstep {
namespace {

// Stored combinations that share fewer than `hits` numbers with every member, counted plainly.
int64_t uncovered(const std::vector<uint64_t>& stored, const std::vector<uint64_t>& system, int hits) {
    int64_t count = 0;
    for (const uint64_t target : stored) {
        bool covered = false;
        for (const uint64_t member : system) covered = covered || std::popcount(target & member) >= hits;
        count += !covered;
    }
    return count;
}

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (const int v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

TEST(FixedMemberCover, HolesAndAddedMembersAgainstAPlainLoop) {
    std::mt19937_64 rng(7);
    std::vector<uint64_t> stored;
    while (stored.size() < 3000) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + rng() % 20);
        stored.push_back(mask);
    }
    for (const int hits : {4, 5}) {
        const std::vector<uint64_t> fixed{stored[10], stored[500], maskOf({1, 3, 5, 7, 9, 11, 13})};
        const std::vector<uint8_t> covered = coveredByMembers(stored.data(), 3000, fixed, hits, 2);
        for (size_t j = 0; j < stored.size(); ++j)
            EXPECT_EQ(covered[j] != 0, uncovered({stored[j]}, fixed, hits) == 0) << j;

        CoverRequest request;
        request.stored = stored.data();
        request.storedCount = 3000;
        request.fixedTickets = fixed;
        request.hits = hits;
        request.timeLimitSeconds = 5;
        request.moveBudget = 500;
        request.threads = 2;
        const FixedMemberResult result = addMembersToCover(request);
        ASSERT_TRUE(result.error.empty()) << result.error;
        EXPECT_EQ(result.holes, uncovered(stored, fixed, hits));
        std::vector<uint64_t> whole = fixed;
        whole.insert(whole.end(), result.added.begin(), result.added.end());
        EXPECT_EQ(uncovered(stored, whole, hits), 0) << hits;
        // The greedy from nothing needs at least as many members as the completion adds to the fixed.
        request.fixedTickets.clear();
        EXPECT_GE(addMembersToCover(request).added.size() + fixed.size(), result.added.size()) << hits;
        // Members added are stored combinations: any seven numbers are not asked of the completion.
        request.anyTicket = true;
        EXPECT_EQ(addMembersToCover(request).error, "the tickets added are stored combinations");
    }
}

}  // namespace
}  // namespace quillstep

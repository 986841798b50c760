// CTest label: threads
// Coverings from a split of the elements, each held to a plain loop over every m-subset: given
// splits (even, uneven, a part under seven elements, a part that needs nothing, a part split
// again), the plan search, its time share and its stop; and the wheel search that starts from it.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "wheels/cover/cover_search.h"
#include "wheels/cover/split_construction.h"
#include "wheels/cover/wheel_search.h"
#include "wheels/pool/wheel_check.h"

namespace quillstep {
namespace {

using cover::CoverModel;

CoverModel model(int elements, int ticketSize, int hits, int drawn) {
    CoverModel m;
    m.elements = elements;
    m.ticketSize = ticketSize;
    m.hits = hits;
    m.targetSize = drawn;
    return m;
}

// The m-subsets of the elements that no ticket shares t elements with, by a plain loop over
// every mask of the elements.
int64_t plainHoles(const CoverModel& m, const std::vector<uint64_t>& tickets) {
    int64_t holes = 0;
    for (uint64_t drawn = 0; drawn < (uint64_t{1} << m.elements); ++drawn) {
        if (std::popcount(drawn) != m.targetSize) continue;
        bool hit = false;
        for (const uint64_t ticket : tickets) hit = hit || std::popcount(ticket & drawn) >= m.hits;
        holes += !hit;
    }
    return holes;
}

void expectTicketsOfTheModel(const CoverModel& m, const std::vector<uint64_t>& tickets) {
    for (const uint64_t ticket : tickets) {
        EXPECT_EQ(std::popcount(ticket), m.ticketSize);
        EXPECT_EQ(ticket >> m.elements, 0u);
    }
}

cover::SplitSettings quickSettings() {
    cover::SplitSettings settings;
    settings.timeShareSeconds = 300;  // the parts end at their move budget or lower bound
    settings.threads = 1;
    settings.moveBudget = 20000;
    settings.seed = 3;
    return settings;
}

TEST(SplitConstruction, GivenSplitsCoverEveryDraw) {
    struct Case {
        CoverModel model;
        int partSize, firstDrawn;
    };
    const Case cases[] = {
        {model(12, 7, 3, 5), 6, 3},   // even; both parts under seven elements: one ticket each
        {model(12, 7, 3, 5), 4, 3},   // uneven: four elements in one ticket, eight searched
        {model(12, 7, 3, 5), 2, 3},   // two elements never hold three: that part needs nothing
        {model(13, 7, 4, 7), 6, 4},   // two tickets: six and seven elements, each whole
        {model(14, 7, 4, 7), 5, 4},   // uneven: five elements in one ticket, nine searched
        {model(14, 7, 4, 7), 7, 4},   // even at seven and seven
        {model(14, 7, 3, 7), 5, 3},   // nine elements at 3 if 5, split again
        {model(14, 7, 3, 7), 9, 5},   // the same parts the other way round
        {model(13, 6, 3, 6), 6, 3},   // tickets of six (a wheel with one key): a part of six whole
        {model(14, 7, 2, 5), 4, 2},   // 2 if 5: 2 if 2 on four, 2 if 4 on ten (split again)
    };
    for (const Case& c : cases) {
        const cover::SplitCovering split = cover::splitCoveringOf(c.model, c.partSize, c.firstDrawn, quickSettings());
        const std::string name = std::to_string(c.model.elements) + " elements, " + std::to_string(c.model.hits) +
                                 " if " + std::to_string(c.model.targetSize) + ", part " + std::to_string(c.partSize);
        ASSERT_FALSE(split.tickets.empty()) << name;
        expectTicketsOfTheModel(c.model, split.tickets);
        EXPECT_EQ(plainHoles(c.model, split.tickets), 0) << name;
        EXPECT_FALSE(split.stopped);
    }
    // Thirteen elements at 4 if 7 in parts of six and seven take two tickets and no search.
    const cover::SplitCovering two = cover::splitCoveringOf(model(13, 7, 4, 7), 6, 4, quickSettings());
    EXPECT_EQ(two.tickets.size(), 2u);
    EXPECT_TRUE(two.searches.empty());
}

TEST(SplitConstruction, PlanSearchCoversEveryDrawWithinItsShare) {
    // Small ones that two whole parts answer, larger ones whose parts are searched.
    const CoverModel models[] = {model(12, 7, 3, 5), model(14, 7, 4, 7), model(13, 7, 3, 7), model(16, 7, 4, 7),
                                 model(18, 7, 4, 7), model(18, 7, 3, 7), model(15, 6, 3, 6), model(17, 7, 2, 5)};
    size_t searches = 0;
    for (const CoverModel& m : models) {
        ASSERT_TRUE(cover::canSplit(m));
        cover::SplitSettings settings;
        settings.timeShareSeconds = 2.0;
        settings.threads = 2;
        const cover::SplitCovering split = cover::searchSplitCovering(m, settings);
        ASSERT_FALSE(split.tickets.empty()) << m.elements << " elements, " << m.hits << " if " << m.targetSize;
        expectTicketsOfTheModel(m, split.tickets);
        EXPECT_EQ(plainHoles(m, split.tickets), 0) << m.elements << " elements, " << m.hits << " if " << m.targetSize;
        // Every search of a part starts within the share and is given no more than what is left.
        for (const cover::PartSearch& search : split.searches) {
            EXPECT_GT(search.timeLimit, 0.0);
            EXPECT_LE(search.startedAt + search.timeLimit, settings.timeShareSeconds + 1e-9);
            EXPECT_LT(search.elements, m.elements);
        }
        searches += split.searches.size();
    }
    EXPECT_GT(searches, 0u);
    // No share: no search, no covering.
    cover::SplitSettings none;
    none.timeShareSeconds = 0.0;
    const cover::SplitCovering nothing = cover::searchSplitCovering(model(20, 7, 4, 7), none);
    EXPECT_TRUE(nothing.searches.empty());
    EXPECT_TRUE(nothing.tickets.empty());
}

TEST(SplitConstruction, OnlyTargetsOfEveryMSubsetWithMPlusOneAtLeastTwiceTSplit) {
    EXPECT_TRUE(cover::canSplit(model(20, 7, 4, 7)));
    EXPECT_TRUE(cover::canSplit(model(20, 7, 3, 5)));
    EXPECT_FALSE(cover::canSplit(model(20, 7, 4, 6)));
    EXPECT_FALSE(cover::canSplit(model(20, 7, 5, 7)));
    EXPECT_FALSE(cover::canSplit(model(20, 7, 3, 3)));
    CoverModel stored = model(20, 7, 4, 7);
    stored.storedTargets = {0x7F};
    EXPECT_FALSE(cover::canSplit(stored));
}

TEST(SplitConstruction, StopsOnRequest) {
    cover::SplitSettings settings;
    settings.timeShareSeconds = 300;
    settings.stopRequested = [] { return true; };
    const CoverModel m = model(20, 7, 4, 7);
    const cover::SplitCovering split = cover::searchSplitCovering(m, settings);
    EXPECT_TRUE(split.stopped);
    EXPECT_LE(split.searches.size(), 1u);
    if (!split.tickets.empty()) {
        EXPECT_EQ(plainHoles(m, split.tickets), 0);
    }
}

TEST(SplitConstruction, CoverSearchStartsFromGivenTickets) {
    // Fourteen elements at 4 if 7: two tickets of seven each cover every draw (a split), and the
    // search started from them never answers more; one of them alone is completed.
    const CoverModel m = model(14, 7, 4, 7);
    const uint64_t low = 0x7F, high = 0x7F << 7;
    for (const std::vector<uint64_t>& start : {std::vector<uint64_t>{low, high}, std::vector<uint64_t>{high}}) {
        cover::CoverSearchSettings settings;
        settings.threads = 1;
        settings.moveBudget = 2000;
        settings.timeLimitSeconds = 300;
        settings.startTickets = start;
        const cover::CoverSearchResult result = cover::searchCover(m, settings);
        ASSERT_TRUE(result.complete);
        EXPECT_EQ(plainHoles(m, result.tickets), 0);
        if (start.size() == 2) {
            EXPECT_LE(result.tickets.size(), 2u);
        }
    }
}

TEST(SplitConstruction, WheelSearchGivesACheckedWheelWithKeys) {
    uint64_t pool = 0;
    for (int v = 3; v <= 17; ++v) pool |= uint64_t{1} << v;
    const WheelRequest requests[] = {
        {pool, uint64_t{1} << 5, 4, 7},                       // one key: 3 if 6 with tickets of six
        {pool, uint64_t{1} << 3 | uint64_t{1} << 17, 4, 7},  // two keys: 2 if 5 with tickets of five
        {pool, 0, 3, 7},
    };
    for (const WheelRequest& r : requests) {
        CoverRequest asked = wheelCoverRequest(r);
        asked.timeLimitSeconds = 300;  // ended by the move budgets
        asked.threads = 1;
        asked.moveBudget = 20000;
        const WheelSearchResult result = searchWheel(asked);
        ASSERT_TRUE(result.found());
        for (const uint64_t ticket : result.tickets) {
            EXPECT_EQ(std::popcount(ticket), 7);
            EXPECT_EQ(ticket & ~r.pool, 0u);
            EXPECT_EQ(ticket & r.keys, r.keys);
        }
        EXPECT_TRUE(checkWheel(wheelCoverRequest(r), result.tickets).covered()) << r.hits << " if " << r.drawn;
    }
}

}  // namespace
}  // namespace quillstep

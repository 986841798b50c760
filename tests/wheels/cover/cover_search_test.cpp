// CTest label: threads
// The covering search on pool targets (with and without keys) and on stored targets, every
// answer held to a plain loop; the wheel search's answers also to the independent wheel check.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <limits>

#include "wheels/cover/cover_search.h"
#include "wheels/cover/cover_state.h"
#include "wheels/cover/lower_bound.h"
#include "wheels/cover/wheel_search.h"
#include "wheels/pool/wheel_check.h"

namespace quillstep {
namespace {

using cover::CoverModel;

bool plainCovers(const std::vector<uint64_t>& tickets, uint64_t target, int hits) {
    for (const uint64_t ticket : tickets)
        if (std::popcount(ticket & target) >= hits) return true;
    return false;
}

// The m-subsets of `pool` holding `keys` that no ticket shares t numbers with, by a plain loop
// over every mask of the pool's numbers.
int64_t plainHoles(const WheelRequest& request, const std::vector<uint64_t>& tickets) {
    std::vector<int> numbers;
    for (uint64_t rest = request.pool; rest != 0; rest &= rest - 1) numbers.push_back(std::countr_zero(rest));
    int64_t holes = 0;
    for (uint64_t pick = 0; pick < (uint64_t{1} << numbers.size()); ++pick) {
        if (std::popcount(pick) != request.drawn) continue;
        uint64_t drawn = 0;
        for (size_t i = 0; i < numbers.size(); ++i)
            if (pick >> i & 1) drawn |= uint64_t{1} << numbers[i];
        if ((drawn & request.keys) != request.keys) continue;
        holes += !plainCovers(tickets, drawn, request.hits);
    }
    return holes;
}

WheelRequest request(uint64_t pool, uint64_t keys, int hits, int drawn) { return {pool, keys, hits, drawn}; }

uint64_t rangeMask(int from, int to) {
    uint64_t mask = 0;
    for (int v = from; v <= to; ++v) mask |= uint64_t{1} << v;
    return mask;
}

TEST(WheelSearch, CoversEveryDrawOfPoolsWithAndWithoutKeys) {
    const WheelRequest requests[] = {
        request(rangeMask(1, 12), 0, 3, 3),
        request(rangeMask(1, 14), 0, 4, 6),
        request(rangeMask(5, 15) | uint64_t{1} << 30 | uint64_t{1} << 39, 0, 3, 5),
        request(rangeMask(1, 13), uint64_t{1} << 4, 3, 4),
        request(rangeMask(20, 33), uint64_t{1} << 21 | uint64_t{1} << 33, 4, 5),
        request(rangeMask(1, 11), uint64_t{1} << 1 | uint64_t{1} << 2 | uint64_t{1} << 3, 5, 6),
    };
    for (const WheelRequest& r : requests) {
        CoverRequest asked = wheelCoverRequest(r);
        asked.timeLimitSeconds = 300;  // ended by the move budget
        asked.threads = 1;
        asked.moveBudget = 20000;
        asked.seed = 5;
        const WheelSearchResult result = searchWheel(asked);
        ASSERT_TRUE(result.found());
        for (const uint64_t ticket : result.tickets) {
            EXPECT_EQ(std::popcount(ticket), 7);
            EXPECT_EQ(ticket & ~r.pool, 0u);
            EXPECT_EQ(ticket & r.keys, r.keys);
        }
        EXPECT_EQ(plainHoles(r, result.tickets), 0) << std::popcount(r.pool) << " numbers " << r.hits << " if " << r.drawn;
        const WheelCheck check = checkWheel(wheelCoverRequest(r), result.tickets);
        EXPECT_TRUE(check.covered());
        // No ticket of the answer may go: the search removes every ticket not needed alone.
        for (size_t i = 0; i < result.tickets.size(); ++i) {
            std::vector<uint64_t> fewer = result.tickets;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
            EXPECT_GT(plainHoles(r, fewer), 0);
        }
    }
}

TEST(WheelSearch, SameSeedAndBudgetGiveTheSameWheelOnOneThread) {
    const WheelRequest r = request(rangeMask(1, 15), 0, 4, 5);
    CoverRequest asked = wheelCoverRequest(r);
    asked.threads = 1;
    asked.moveBudget = 30000;
    asked.timeLimitSeconds = 300;
    asked.seed = 9;
    const WheelSearchResult first = searchWheel(asked);
    const WheelSearchResult second = searchWheel(asked);
    ASSERT_TRUE(first.found());
    EXPECT_EQ(first.tickets, second.tickets);
}

TEST(WheelSearch, RefusesWhatTheCheckRefusesAndStopsOnRequest) {
    const WheelSearchResult refused = searchWheel(wheelCoverRequest(request(rangeMask(1, 7), 0, 3, 4)));
    EXPECT_TRUE(refused.requestFault.refused());
    EXPECT_FALSE(refused.found());

    // A stop request at once: whatever it found covers, and it says it was stopped.
    const WheelRequest r = request(rangeMask(1, 20), 0, 4, 4);
    CoverRequest asked = wheelCoverRequest(r);
    asked.stopRequested = [] { return true; };
    asked.timeLimitSeconds = 300;
    const WheelSearchResult stopped = searchWheel(asked);
    EXPECT_TRUE(stopped.stopped);
    if (stopped.found()) {
        EXPECT_EQ(plainHoles(r, stopped.tickets), 0);
    }

    // Progress is reported on the calling thread with the best size so far.
    std::atomic<int> reports{0};
    CoverRequest timed = wheelCoverRequest(r);
    timed.timeLimitSeconds = 1.5;
    timed.onProgress = [&](const CoverProgress& p) {
        EXPECT_GE(p.remainingSeconds, 0.0);
        ++reports;
    };
    const WheelSearchResult ended = searchWheel(timed);
    ASSERT_TRUE(ended.found());
    EXPECT_TRUE(ended.timeLimitReached);
    EXPECT_GE(reports.load(), 1);
    EXPECT_EQ(plainHoles(r, ended.tickets), 0);
}

TEST(WheelSearch, EndsAtTheLowerBound) {
    // 2 if 2 on eight numbers: three lines at least (a line of seven misses one number, two lines
    // miss a pair); the search reaches it and ends long before its time limit.
    CoverRequest asked = wheelCoverRequest(request(rangeMask(1, 8), 0, 2, 2));
    asked.timeLimitSeconds = 600;
    const WheelSearchResult result = searchWheel(asked);
    ASSERT_TRUE(result.found());
    EXPECT_EQ(result.tickets.size(), 3u);
    EXPECT_FALSE(result.timeLimitReached);
}

TEST(CoverSearch, CoversStoredTargetsAroundFixedTickets) {
    // Stored targets: 120 random sets of seven of 16 elements, hits 4, with two fixed tickets.
    Random random{21};
    CoverModel model;
    model.elements = 16;
    model.ticketSize = 7;
    model.hits = 4;
    model.targetSize = 7;
    std::vector<uint64_t> stored;
    while (stored.size() < 120) {
        uint64_t set = 0;
        while (std::popcount(set) < 7) set |= uint64_t{1} << random.below(16);
        if (std::find(stored.begin(), stored.end(), set) == stored.end()) stored.push_back(set);
    }
    model.storedTargets = stored;
    model.fixedTickets = {stored[0], stored[1]};
    cover::CoverSearchSettings settings;
    settings.threads = 2;
    settings.moveBudget = 5000;
    settings.timeLimitSeconds = 300;
    const cover::CoverSearchResult result = cover::searchCover(model, settings);
    ASSERT_TRUE(result.complete);
    std::vector<uint64_t> all = result.tickets;
    all.insert(all.end(), model.fixedTickets.begin(), model.fixedTickets.end());
    for (const uint64_t target : stored) EXPECT_TRUE(plainCovers(all, target, 4));
    for (const uint64_t ticket : result.tickets) EXPECT_EQ(std::popcount(ticket), 7);
}

// One thread's descent with either schedule (the cycle with sampled trades, the acceptance rate
// with single random trades): the counts agree with a recount after every move, and every
// covering it offers covers every target by a plain loop, each smaller than the one before.
TEST(CoverSearch, TheDescentKeepsItsCountsTrueOnEitherSchedule) {
    struct Case {
        int elements, hits, drawn;
        bool stored;
    };
    for (const Case c : {Case{12, 4, 4, false}, Case{13, 3, 5, false}, Case{14, 4, 7, true}, Case{14, 5, 7, true}}) {
        for (const bool singleTrades : {false, true}) {
            CoverModel model{c.elements, 7, c.hits, c.drawn, {}, {}};
            Random random{static_cast<uint64_t>(c.elements)};
            if (c.stored) {
                while (model.storedTargets.size() < 150) {
                    uint64_t set = 0;
                    while (std::popcount(set) < c.drawn) set |= uint64_t{1} << random.below(c.elements);
                    if (std::find(model.storedTargets.begin(), model.storedTargets.end(), set) == model.storedTargets.end())
                        model.storedTargets.push_back(set);
                }
                model.fixedTickets = {model.storedTargets[0]};
            }
            const cover::TargetIndex targets =
                c.stored ? cover::TargetIndex::storedSets(model.storedTargets, c.drawn)
                         : cover::TargetIndex::allSubsets(c.elements, c.drawn);
            cover::CoverState state(model, targets);
            // A start of random tickets, far from a covering.
            for (int i = 0; i < 6; ++i) {
                uint64_t ticket = 0;
                while (std::popcount(ticket) < 7) ticket |= uint64_t{1} << random.below(c.elements);
                state.addTicket(ticket);
            }
            cover::DescentSettings settings;
            if (singleTrades) settings.annealing = cover::singleTradeSettings();
            settings.moveBudget = 1500;
            settings.recountEveryMove = true;
            std::vector<size_t> offered;
            int64_t best = std::numeric_limits<int64_t>::max();
            StopFlag stop;
            std::atomic<int64_t> moves{0};
            const cover::DescentOutcome outcome = cover::descend(
                state, random, settings, [&] { return best; },
                [&](const std::vector<uint64_t>& tickets) {
                    std::vector<uint64_t> all = tickets;
                    all.insert(all.end(), model.fixedTickets.begin(), model.fixedTickets.end());
                    for (int64_t id = 0; id < targets.count(); ++id)
                        ASSERT_TRUE(plainCovers(all, targets.setOf(id), c.hits)) << c.elements;
                    offered.push_back(tickets.size());
                    best = std::min<int64_t>(best, static_cast<int64_t>(tickets.size()));
                },
                stop, moves);
            EXPECT_FALSE(outcome.recountDisagreed) << c.elements << " single trades " << singleTrades;
            // The budget is spent, unless a covering of one movable ticket left nothing to move
            // (that descent once spun there for ever).
            const bool nothingLeft = !offered.empty() && offered.back() == 1;
            EXPECT_TRUE(outcome.moves == 1500 || (nothingLeft && outcome.moves < 1500)) << outcome.moves;
            EXPECT_EQ(moves.load(), outcome.moves);
            EXPECT_TRUE(cover::agreesWithRecount(state));
            EXPECT_TRUE(std::is_sorted(offered.rbegin(), offered.rend()));
        }
    }
}

TEST(CoverSearch, RefusesAModelItCannotSearch) {
    CoverModel model;
    model.elements = 10;
    model.ticketSize = 7;
    model.hits = 5;
    model.targetSize = 4;  // fewer drawn than hits
    EXPECT_FALSE(cover::isSearchable(model));
    EXPECT_THROW(cover::searchCover(model, {}), std::invalid_argument);
}

TEST(CoverLowerBound, NeverAboveTheFewestTicketsOnEightElements) {
    // On eight elements a ticket of seven leaves one out: the fewest tickets for every t and m,
    // by trying every set of tickets, against the bound.
    for (int m = 2; m <= 7; ++m)
        for (int t = 2; t <= std::min(m, 6); ++t) {
            int fewest = 9;
            for (uint32_t chosen = 1; chosen < 256; ++chosen) {
                std::vector<uint64_t> tickets;
                for (int left = 0; left < 8; ++left)
                    if (chosen >> left & 1) tickets.push_back(0xFFu & ~(1u << left));
                if (static_cast<int>(tickets.size()) >= fewest) continue;
                bool all = true;
                for (uint64_t target = 0; target < 256 && all; ++target)
                    if (std::popcount(target) == m) all = plainCovers(tickets, target, t);
                if (all) fewest = static_cast<int>(tickets.size());
            }
            const int64_t bound = cover::coveringLowerBound(8, 7, t, m);
            EXPECT_LE(bound, fewest) << t << " if " << m;
            EXPECT_GE(bound, 1);
        }
}

}  // namespace
}  // namespace quillstep

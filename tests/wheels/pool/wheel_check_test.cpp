// CTest label: threads
// The check of a wheel against a plain loop: every subset of the pool's numbers of the right size
// holding the keys (found by counting through all 2^P subsets), each ticket's shared numbers
// counted by comparing number lists. Small random pools anywhere in 1..39, with and without keys,
// every (t, m) the pool allows, both ways of the check and one or two threads.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <vector>

#include "wheels/pool/wheel_check.h"
#include "base/worker_threads.h"

namespace quillstep {
namespace {

std::vector<int> numbersOf(uint64_t mask) {
    std::vector<int> numbers;
    for (int v = 0; v < 64; ++v)
        if (mask >> v & 1) numbers.push_back(v);
    return numbers;
}

struct PlainCount {
    int64_t targets = 0;
    int64_t uncovered = 0;
    std::vector<std::vector<int>> holes;  // every hole, in the order of their numbers
};

PlainCount plainCount(const WheelRequest& request, const std::vector<uint64_t>& tickets) {
    const std::vector<int> pool = numbersOf(request.pool);
    std::vector<std::vector<int>> ticketNumbers;
    for (uint64_t ticket : tickets) ticketNumbers.push_back(numbersOf(ticket));
    PlainCount count;
    for (uint64_t pick = 0; pick < (uint64_t{1} << pool.size()); ++pick) {
        if (std::popcount(pick) != request.drawn) continue;
        std::vector<int> target;
        for (size_t i = 0; i < pool.size(); ++i)
            if (pick >> i & 1) target.push_back(pool[i]);
        bool allKeys = true;
        for (int key : numbersOf(request.keys)) allKeys = allKeys && std::count(target.begin(), target.end(), key) == 1;
        if (!allKeys) continue;
        ++count.targets;
        int best = 0;
        for (const std::vector<int>& ticket : ticketNumbers) {
            int shared = 0;
            for (int a : ticket)
                for (int b : target) shared += a == b;
            best = std::max(best, shared);
        }
        if (best < request.hits) {
            ++count.uncovered;
            count.holes.push_back(target);
        }
    }
    std::sort(count.holes.begin(), count.holes.end());
    return count;
}

// A random pool of `size` numbers of 1..39, `keys` of them keys.
WheelRequest randomRequest(std::mt19937& random, int size, int keys, int hits, int drawn) {
    WheelRequest request;
    while (std::popcount(request.pool) < size) request.pool |= uint64_t{1} << (1 + random() % 39);
    const std::vector<int> pool = numbersOf(request.pool);
    while (std::popcount(request.keys) < keys) request.keys |= uint64_t{1} << pool[random() % pool.size()];
    request.hits = hits;
    request.drawn = drawn;
    return request;
}

// Tickets of seven pool numbers holding every key.
std::vector<uint64_t> randomTickets(std::mt19937& random, const WheelRequest& request, int count) {
    const std::vector<int> pool = numbersOf(request.pool);
    std::vector<uint64_t> tickets;
    for (int s = 0; s < count; ++s) {
        uint64_t ticket = request.keys;
        while (std::popcount(ticket) < NUMBERS_PER_COMBINATION) ticket |= uint64_t{1} << pool[random() % pool.size()];
        tickets.push_back(ticket);
    }
    return tickets;
}

void expectSameAsPlainCount(const WheelRequest& request, const std::vector<uint64_t>& tickets, const PlainCount& plain,
                            WheelCheckWay way, unsigned threads) {
    WheelCheckSettings settings;
    settings.way = way;
    CoverRequest asked = wheelCoverRequest(request);
    asked.threads = threads;
    const WheelCheck check = checkWheel(asked, tickets, settings);
    ASSERT_TRUE(check.checked());
    EXPECT_EQ(check.targets, plain.targets);
    EXPECT_EQ(check.targets, wheelTargetCount(request));
    EXPECT_EQ(check.uncovered, plain.uncovered);
    ASSERT_EQ(check.holes.size(), std::min<size_t>(10, plain.holes.size()));
    for (size_t h = 0; h < check.holes.size(); ++h) EXPECT_EQ(numbersOf(check.holes[h]), plain.holes[h]) << h;
    EXPECT_EQ(check.covered(), plain.uncovered == 0);
}

TEST(WheelCheck, AgreesWithAPlainLoopOnRandomPools) {
    std::mt19937 random(20261209);
    int coveredSeen = 0, holedSeen = 0;
    for (int round = 0; round < 160; ++round) {
        const int size = 8 + static_cast<int>(random() % 7);  // 8 to 14 numbers
        const int drawn = 2 + static_cast<int>(random() % 6);  // m 2 to 7
        const int hits = 2 + static_cast<int>(random() % std::min(drawn - 1, 5));  // t 2 to min(m, 6)
        const int keys = static_cast<int>(random() % std::min(hits, 4));  // 0 to min(t - 1, 3)
        const WheelRequest request = randomRequest(random, size, keys, hits, drawn);
        ASSERT_FALSE(findWheelRequestFault(request).refused()) << round;
        const int ticketCount = 1 + static_cast<int>(random() % 40);
        const std::vector<uint64_t> tickets = randomTickets(random, request, ticketCount);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + std::to_string(hits) + " if " + std::to_string(drawn) +
                     " on " + std::to_string(size) + " with " + std::to_string(keys) + " keys");
        const PlainCount plain = plainCount(request, tickets);
        for (const WheelCheckWay way : {WheelCheckWay::Intersections, WheelCheckWay::Subsets, WheelCheckWay::Automatic})
            for (const unsigned threads : {1u, 2u}) expectSameAsPlainCount(request, tickets, plain, way, threads);
        (plain.uncovered == 0 ? coveredSeen : holedSeen)++;
    }
    // Both answers occur among the rounds, so neither is merely assumed.
    EXPECT_GT(coveredSeen, 5);
    EXPECT_GT(holedSeen, 5);
}

TEST(WheelCheck, FullWheelOfThePoolCoversEveryGuarantee) {
    // Every seven of the pool holding the keys: covers every target whatever t and m.
    for (const uint64_t keys : {uint64_t{0}, uint64_t{1} << 9, (uint64_t{1} << 9) | (uint64_t{1} << 30)}) {
        WheelRequest request;
        request.pool = (uint64_t{1} << 3) | (uint64_t{1} << 9) | (uint64_t{1} << 14) | (uint64_t{1} << 22) |
                       (uint64_t{1} << 25) | (uint64_t{1} << 30) | (uint64_t{1} << 31) | (uint64_t{1} << 39) |
                       (uint64_t{1} << 38);
        request.keys = keys;
        const std::vector<int> pool = numbersOf(request.pool);
        std::vector<uint64_t> tickets;
        for (uint64_t pick = 0; pick < (uint64_t{1} << pool.size()); ++pick) {
            uint64_t ticket = 0;
            for (size_t i = 0; i < pool.size(); ++i)
                if (pick >> i & 1) ticket |= uint64_t{1} << pool[i];
            if (std::popcount(ticket) == 7 && (ticket & keys) == keys) tickets.push_back(ticket);
        }
        for (int drawn = 2; drawn <= 7; ++drawn)
            for (int hits = 2; hits <= std::min(drawn, 6); ++hits) {
                request.hits = hits;
                request.drawn = drawn;
                if (findWheelRequestFault(request).refused()) continue;
                const PlainCount plain = plainCount(request, tickets);
                for (const WheelCheckWay way : {WheelCheckWay::Intersections, WheelCheckWay::Subsets})
                    expectSameAsPlainCount(request, tickets, plain, way, 0);
                EXPECT_TRUE(checkWheel(wheelCoverRequest(request), tickets).covered()) << hits << " if " << drawn;
            }
    }
}

TEST(WheelCheck, RefusesTicketsThatAreNotSevenPoolNumbersWithEveryKey) {
    WheelRequest request{0, 0, 3, 4};
    for (int v = 11; v <= 20; ++v) request.pool |= uint64_t{1} << v;
    request.keys = uint64_t{1} << 12;
    const uint64_t good = 0b1111111ull << 11;  // 11..17, holds 12
    const uint64_t six = 0b111111ull << 12;
    const uint64_t outside = (0b111111ull << 12) | (uint64_t{1} << 5);
    const uint64_t noKey = (0b1111111ull << 13);  // 13..19
    const WheelCheck check = checkWheel(wheelCoverRequest(request), {good, six, good, outside, noKey});
    EXPECT_FALSE(check.checked());
    EXPECT_EQ(check.ticketsRefused, 3);
    ASSERT_EQ(check.refusedTickets.size(), 3u);
    EXPECT_EQ(check.refusedTickets[0].index, 1);
    EXPECT_EQ(check.refusedTickets[0].fault, TicketFault::NotSevenNumbers);
    EXPECT_EQ(check.refusedTickets[1].index, 3);
    EXPECT_EQ(check.refusedTickets[1].fault, TicketFault::OutsidePool);
    EXPECT_EQ(check.refusedTickets[1].concerned, uint64_t{1} << 5);
    EXPECT_EQ(check.refusedTickets[2].index, 4);
    EXPECT_EQ(check.refusedTickets[2].fault, TicketFault::MissingKey);
    EXPECT_EQ(check.refusedTickets[2].concerned, uint64_t{1} << 12);
    EXPECT_EQ(check.uncovered, 0);  // nothing counted

    request.hits = 5;  // 5 if 4 is no request: nothing is checked
    const WheelCheck refused = checkWheel(wheelCoverRequest(request), {good});
    EXPECT_EQ(refused.requestFault.fault, WheelFault::HitsAboveDrawn);
    EXPECT_FALSE(refused.checked());
}

TEST(WheelCheck, StopRequestEndsALargeCheckEarlyAndProgressIsReported) {
    // 39 numbers, 3 if 7, one ticket a thousand times: 15,380,937 targets, most of them compared
    // with every ticket, minutes of work that the first poll ends.
    WheelRequest request{(uint64_t{1} << 40) - 2, 0, 3, 7};
    const std::vector<uint64_t> tickets(1000, 0b11111110ull);
    int polls = 0;
    int64_t lastChecked = -1, all = 0;
    WheelCheckSettings settings;
    settings.way = WheelCheckWay::Intersections;
    settings.stopRequested = [&] { return ++polls >= 1; };
    settings.onProgress = [&](int64_t checked, int64_t inAll) {
        EXPECT_GE(checked, lastChecked);
        lastChecked = checked;
        all = inAll;
    };
    const WheelCheck check = checkWheel(wheelCoverRequest(request), tickets, settings);
    EXPECT_TRUE(check.stopped);
    EXPECT_FALSE(check.checked());
    EXPECT_FALSE(check.covered());
    EXPECT_EQ(check.targets, 15380937);
    EXPECT_EQ(all, 15380937);
    EXPECT_LT(check.uncovered, 15380937);
}

TEST(WheelCheck, RunsOnTheCallingThreadWhenNoThreadStarts) {
    std::mt19937 random(7);
    const WheelRequest request = randomRequest(random, 12, 1, 3, 5);
    const std::vector<uint64_t> tickets = randomTickets(random, request, 12);
    failThreadStartsAfter(0);
    CoverRequest asked = wheelCoverRequest(request);
    asked.threads = 2;
    const WheelCheck check = checkWheel(asked, tickets);
    failThreadStartsAfter(-1);
    const PlainCount plain = plainCount(request, tickets);
    EXPECT_TRUE(check.checked());
    EXPECT_EQ(check.uncovered, plain.uncovered);
}

}  // namespace
}  // namespace quillstep

// Coverings made of whole orbits of a cyclic symmetry: the orbits and their cover lists held to
// plain loops over every ticket and target, the weighted cover search's counts held to a recount
// after every step, and its coverings to a plain loop over every target.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <set>
#include <vector>

#include "plain_cover.h"
#include "wheels/cover/orbit_search.h"

namespace quillstep::cover {
namespace {

// The image of element x under the group's generators, written out plainly.
int plainTurn(int x, const ElementCycles& cycles) {
    const int inCycles = cycles.blocks * cycles.cycleLength;
    if (x < inCycles) return x / cycles.cycleLength * cycles.cycleLength + (x % cycles.cycleLength + 1) % cycles.cycleLength;
    if (x < cycles.cycled()) return inCycles + (x - inCycles + 1) % cycles.shortCycle;
    return x;
}
int plainMultiply(int x, const ElementCycles& cycles) {
    return cycles.multiplier > 0 && x < cycles.cycleLength ? x * cycles.multiplier % cycles.cycleLength : x;
}
uint64_t plainImage(uint64_t set, const ElementCycles& cycles, int (*map)(int, const ElementCycles&)) {
    uint64_t image = 0;
    for (int x = 0; x < 64; ++x)
        if (set >> x & 1) image |= uint64_t{1} << map(x, cycles);
    return image;
}

// Every image of `set` under the group: the closure under both generators, element by element.
std::set<uint64_t> plainOrbit(uint64_t set, const ElementCycles& cycles) {
    std::set<uint64_t> orbit{set};
    std::vector<uint64_t> open{set};
    while (!open.empty()) {
        const uint64_t at = open.back();
        open.pop_back();
        for (const uint64_t image : {plainImage(at, cycles, plainTurn), plainImage(at, cycles, plainMultiply)})
            if (orbit.insert(image).second) open.push_back(image);
    }
    return orbit;
}

bool covers(uint64_t ticket, uint64_t target, int hits) { return std::popcount(ticket & target) >= hits; }

int64_t plainHoles(const std::vector<uint64_t>& tickets, int elements, int hits, int drawn) {
    int64_t holes = 0;
    for (const uint64_t target : plainSubsets(elements, drawn))
        holes += std::none_of(tickets.begin(), tickets.end(), [&](uint64_t t) { return covers(t, target, hits); });
    return holes;
}

const CoverModel MODELS[] = {
    {10, 4, 2, 3, {}, {}},
    {11, 5, 3, 4, {}, {}},
    {9, 4, 3, 3, {}, {}},
    {12, 5, 4, 5, {}, {}},
};

TEST(OrbitModel, OrbitsAndTheirCoversAgreeWithPlainLoops) {
    for (const CoverModel& model : MODELS)
        for (const ElementCycles& cycles : candidateCycles(model.elements, 3)) {
            SCOPED_TRACE(testing::Message() << model.elements << " elements, " << cycles.blocks << " cycles of "
                                            << cycles.cycleLength << " and " << cycles.shortCycle << ", multiplier "
                                            << cycles.multiplier);
            OrbitModel orbits;
            ASSERT_TRUE(buildOrbitModel(model, cycles, 1'000'000, 10'000'000, orbits));
            // The ticket orbits split every ticket, each once, and each orbit is whole.
            std::set<uint64_t> seen;
            for (size_t j = 0; j < orbits.ticketOrbitFirst.size(); ++j) {
                const std::set<uint64_t> orbit = plainOrbit(orbits.ticketOrbitFirst[j], cycles);
                EXPECT_EQ(static_cast<size_t>(orbits.ticketOrbitSize[j]), orbit.size());
                EXPECT_EQ(*orbit.begin(), orbits.ticketOrbitFirst[j]);
                for (const uint64_t ticket : orbit) EXPECT_TRUE(seen.insert(ticket).second);
            }
            EXPECT_EQ(seen.size(), plainSubsets(model.elements, model.ticketSize).size());
            // The target orbits, in the order of their smallest set; orbit j covers orbit i exactly
            // when some ticket of j covers some target of i.
            std::vector<uint64_t> targetFirsts;
            std::set<uint64_t> targetsSeen;
            for (const uint64_t target : plainSubsets(model.elements, model.targetSize)) {
                if (targetsSeen.count(target)) continue;
                const std::set<uint64_t> orbit = plainOrbit(target, cycles);
                targetsSeen.insert(orbit.begin(), orbit.end());
                targetFirsts.push_back(target);
            }
            std::sort(targetFirsts.begin(), targetFirsts.end());
            ASSERT_EQ(orbits.targetOrbits(), static_cast<int64_t>(targetFirsts.size()));
            // Which target orbit a set is in: its smallest image.
            const auto targetOrbitOf = [&](uint64_t target) {
                const uint64_t first = *plainOrbit(target, cycles).begin();
                return static_cast<int32_t>(std::lower_bound(targetFirsts.begin(), targetFirsts.end(), first) -
                                            targetFirsts.begin());
            };
            for (size_t j = 0; j < orbits.ticketOrbitFirst.size(); ++j) {
                std::set<int32_t> expected;
                for (const uint64_t ticket : plainOrbit(orbits.ticketOrbitFirst[j], cycles))
                    for (const uint64_t target : plainSubsets(model.elements, model.targetSize))
                        if (covers(ticket, target, model.hits)) expected.insert(targetOrbitOf(target));
                // The model numbers target orbits by their first set met in increasing order.
                std::set<int32_t> listed;
                for (const int32_t i : orbits.covers[j]) listed.insert(i);
                ASSERT_EQ(listed.size(), orbits.covers[j].size()) << "a target orbit listed twice";
                EXPECT_EQ(listed, expected);
            }
        }
}

TEST(OrbitModel, RefusesStoredTargetsFixedTicketsAndTooLargeProblems) {
    OrbitModel orbits;
    const ElementCycles cycles{1, 10};
    CoverModel stored{10, 4, 2, 3, {0b111}, {}};
    EXPECT_FALSE(buildOrbitModel(stored, cycles, 1'000'000, 10'000'000, orbits));
    CoverModel fixed{10, 4, 2, 3, {}, {0b1111}};
    EXPECT_FALSE(buildOrbitModel(fixed, cycles, 1'000'000, 10'000'000, orbits));
    CoverModel plain{10, 4, 2, 3, {}, {}};
    EXPECT_FALSE(buildOrbitModel(plain, cycles, 100, 10'000'000, orbits));  // 210 tickets
    EXPECT_FALSE(buildOrbitModel(plain, cycles, 1'000'000, 50, orbits));
    EXPECT_TRUE(buildOrbitModel(plain, cycles, 1'000'000, 10'000'000, orbits));
    // A short cycle must divide the long ones, and the cycles must fit in the elements.
    EXPECT_FALSE(buildOrbitModel(plain, ElementCycles{1, 6, 4}, 1'000'000, 10'000'000, orbits));
    EXPECT_FALSE(buildOrbitModel(plain, ElementCycles{1, 8, 4}, 1'000'000, 10'000'000, orbits));
    EXPECT_TRUE(buildOrbitModel(plain, ElementCycles{1, 6, 3}, 1'000'000, 10'000'000, orbits));
    // A multiplier goes with one cycle of prime length only.
    EXPECT_FALSE(buildOrbitModel(plain, ElementCycles{1, 9, 0, 2}, 1'000'000, 10'000'000, orbits));
    EXPECT_FALSE(buildOrbitModel(plain, ElementCycles{2, 5, 0, 2}, 1'000'000, 10'000'000, orbits));
    EXPECT_TRUE(buildOrbitModel(plain, ElementCycles{1, 7, 0, 3}, 1'000'000, 10'000'000, orbits));
}

TEST(OrbitModel, MultiplierGroupsComeWithPrimeCyclesOnly) {
    std::vector<int> orders;
    for (const ElementCycles& cycles : candidateCycles(14, 3)) {
        if (cycles.multiplier == 0) {
            EXPECT_EQ(multiplierOrder(cycles), 1);
            continue;
        }
        EXPECT_TRUE(cycles.cycleLength == 11 || cycles.cycleLength == 13) << cycles.cycleLength;
        EXPECT_EQ(cycles.blocks, 1);
        // The order, by multiplying until 1 comes back.
        int order = 1;
        for (int power = cycles.multiplier; power != 1; power = power * cycles.multiplier % cycles.cycleLength) ++order;
        EXPECT_EQ(multiplierOrder(cycles), order);
        orders.push_back(order);
    }
    // 13: orders 12, 6, 4, 3, 2; 11: orders 10, 5, 2; the larger groups first.
    EXPECT_EQ(orders, (std::vector<int>{12, 6, 4, 3, 2, 10, 5, 2}));
}

TEST(OrbitSearch, KeepsItsCountsTrueAndItsCoveringsCoverEveryTarget) {
    for (const CoverModel& model : MODELS)
        for (const ElementCycles& cycles : {ElementCycles{1, model.elements}, ElementCycles{2, model.elements / 2 - 1},
                                            ElementCycles{1, model.elements - 2}, ElementCycles{1, 6, 3},
                                            ElementCycles{1, 7, 0, 2}}) {
            SCOPED_TRACE(testing::Message() << model.elements << " elements, " << cycles.blocks << " cycles of "
                                            << cycles.cycleLength << " and " << cycles.shortCycle << ", multiplier "
                                            << cycles.multiplier);
            OrbitModel orbits;
            ASSERT_TRUE(buildOrbitModel(model, cycles, 1'000'000, 10'000'000, orbits));
            for (const bool configurations : {true, false}) {
                Random random{7};
                OrbitSearchSettings settings;
                settings.stepBudget = 3000;
                settings.recountEveryStep = true;
                settings.configurationChecking = configurations;
                StopFlag stop;
                const OrbitCovering found = searchOrbitCovering(orbits, random, settings, stop);
                EXPECT_FALSE(found.recountDisagreed);
                ASSERT_FALSE(found.orbits.empty());
                const std::vector<uint64_t> tickets = ticketsOfOrbits(orbits, found.orbits);
                EXPECT_EQ(static_cast<int64_t>(tickets.size()), found.tickets);
                EXPECT_EQ(std::set<uint64_t>(tickets.begin(), tickets.end()).size(), tickets.size());
                EXPECT_EQ(plainHoles(tickets, model.elements, model.hits, model.targetSize), 0);
                // Whole orbits: the group maps the covering onto itself.
                const std::set<uint64_t> all(tickets.begin(), tickets.end());
                for (const uint64_t ticket : tickets) {
                    EXPECT_TRUE(all.count(plainImage(ticket, cycles, plainTurn)));
                    EXPECT_TRUE(all.count(plainImage(ticket, cycles, plainMultiply)));
                }
            }
        }
}

TEST(OrbitSearch, TheSymmetricStartCoversEveryTarget) {
    // 6 if 7 on 12 numbers: the orbit search across the groups, on two parts as two threads
    // would share them.
    const CoverModel model{12, 7, 6, 7, {}, {}};
    StopFlag stop;
    auto deadline = std::chrono::steady_clock::now();
    for (unsigned part = 0; part < 2; ++part) {
        Random random{part + 1};
        deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        const std::vector<uint64_t> tickets = searchSymmetricCovering(model, random, 0, deadline, stop, part, 2);
        ASSERT_FALSE(tickets.empty());
        EXPECT_EQ(plainHoles(tickets, 12, 6, 7), 0);
        // A ticket covers 36 of the 792 targets: a covering anywhere near sensible is far below
        // one ticket for every 12 targets.
        EXPECT_LT(tickets.size(), 792u / 12);
    }
    // A raised stop ends it at once with nothing.
    stop.store(true);
    Random random{1};
    EXPECT_TRUE(searchSymmetricCovering(model, random, 0, deadline, stop).empty());
}

}  // namespace
}  // namespace quillstep::cover

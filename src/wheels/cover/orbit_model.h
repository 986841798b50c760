#pragma once
// A covering problem cut down by a symmetry: a cyclic group of the elements (`blocks` cycles of
// `cycleLength` elements each and perhaps one shorter cycle, turned one step at a time, the
// remaining elements fixed) sorts the
// tickets and the targets into orbits. A covering made of whole ticket orbits is left unchanged
// by the group, and it covers every target of an orbit when it covers one of them: so the
// problem becomes a weighted set cover of the target orbits by the ticket orbits (a ticket orbit
// costs its number of tickets), hundreds or thousands of sets where the plain problem has tens of
// thousands. Many of the smallest coverings known are unions of such orbits.
//
// Ticket orbit j covers target orbit i when its first ticket (the orbit's smallest set) covers
// some target of orbit i: the group then carries that cover onto every target of orbit i.

#include <cstdint>
#include <vector>

#include "wheels/cover/cover_model.h"

namespace quillstep::cover {

struct ElementCycles {
    int blocks = 1;       // b cycles, elements 0 to b * L - 1: cycle c holds c * L to c * L + L - 1
    int cycleLength = 2;  // L >= 2
    int shortCycle = 0;   // 0, or one more cycle of this many elements (2 to L - 1, dividing L) from b * L on
    // 0, or (one cycle of prime length p, no short cycle) a second generator: element x of the
    // cycle goes to multiplier * x mod p, the rest kept (with the turn x -> x + 1, the group of
    // the maps x -> a x + c for a among the multiplier's powers).
    int multiplier = 0;
    int cycled() const { return blocks * cycleLength + shortCycle; }  // the elements from here on are fixed
};

// The set moved one step by the group: each cycle's elements turned by one, the rest kept.
uint64_t turned(uint64_t set, const ElementCycles& cycles);
// The set moved by the multiplier (cycles.multiplier > 0).
uint64_t multiplied(uint64_t set, const ElementCycles& cycles);
// The order of the multiplier (1 when there is none): the group has cycleLength times as many maps.
int multiplierOrder(const ElementCycles& cycles);
// Every image of the set under the group (the set itself first), each once.
std::vector<uint64_t> orbitOf(uint64_t set, const ElementCycles& cycles);

// The groups worth trying on a model of n elements: b cycles of L >= 3, with or without a short
// cycle, at most `mostFixed` elements fixed; longest cycles first (the smallest problems first).
// With `multipliers`, a single cycle of prime length also comes with each multiplier group (of
// every order dividing p - 1, from 2 up), larger groups first.
std::vector<ElementCycles> candidateCycles(int elements, int mostFixed, bool multipliers = true);

struct OrbitModel {
    ElementCycles cycles;
    std::vector<uint64_t> ticketOrbitFirst;  // the smallest set of each ticket orbit
    std::vector<int32_t> ticketOrbitSize;    // its number of tickets
    std::vector<std::vector<int32_t>> covers;     // per ticket orbit: the target orbits it covers
    std::vector<std::vector<int32_t>> coveredBy;  // per target orbit: the ticket orbits covering it
    int64_t targetOrbits() const { return static_cast<int64_t>(coveredBy.size()); }
    int64_t ticketOrbits() const { return static_cast<int64_t>(covers.size()); }
};

// The orbit model of a model with every m-subset a target and no fixed tickets. False (and
// `orbits` left incomplete) when the model has stored targets or fixed tickets, when either kind
// of set passes `mostSets`, or when the cover lists would pass `mostEntries` entries.
bool buildOrbitModel(const CoverModel& model, const ElementCycles& cycles, int64_t mostSets, int64_t mostEntries,
                     OrbitModel& orbits);

// Every ticket of the chosen ticket orbits.
std::vector<uint64_t> ticketsOfOrbits(const OrbitModel& orbits, const std::vector<int32_t>& chosen);

}  // namespace quillstep::cover

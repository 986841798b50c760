#include "wheels/cover/orbit_model.h"

#include <algorithm>
#include <bit>

#include "engine/binomials.h"
#include "wheels/cover/cover_state.h"
#include "wheels/cover/target_index.h"

namespace quillstep::cover {
namespace {

// Numbers the orbits of the sets of `index`: orbitNumbers[rank] is the orbit of the set of that
// rank; `first` and `orbitSize` (when given) get each orbit's smallest set and its number of sets.
void numberOrbits(const TargetIndex& index, const ElementCycles& cycles, std::vector<int32_t>& orbitNumbers,
                  std::vector<uint64_t>* first, std::vector<int32_t>* orbitSize) {
    orbitNumbers.assign(static_cast<size_t>(index.count()), -1);
    int32_t orbits = 0;
    // Colex rank follows the value of the mask: the first set of an orbit met is its smallest.
    for (int64_t rank = 0; rank < index.count(); ++rank) {
        if (orbitNumbers[static_cast<size_t>(rank)] >= 0) continue;
        const uint64_t set = index.setOf(rank);
        const std::vector<uint64_t> images = orbitOf(set, cycles);
        for (const uint64_t image : images) orbitNumbers[static_cast<size_t>(index.idOf(image))] = orbits;
        const int32_t members = static_cast<int32_t>(images.size());
        if (first) first->push_back(set);
        if (orbitSize) orbitSize->push_back(members);
        ++orbits;
    }
}

// The elements first to first + length - 1 of the set turned one step round.
uint64_t turnedCycle(uint64_t set, int first, int length) {
    const uint64_t mask = (uint64_t{1} << length) - 1;
    const uint64_t part = (set >> first) & mask;
    return (((part << 1) | (part >> (length - 1))) & mask) << first;
}

}  // namespace

uint64_t turned(uint64_t set, const ElementCycles& cycles) {
    const int length = cycles.cycleLength;
    uint64_t result = set & ~((uint64_t{1} << cycles.cycled()) - 1);
    for (int block = 0; block < cycles.blocks; ++block) result |= turnedCycle(set, block * length, length);
    if (cycles.shortCycle > 0) result |= turnedCycle(set, cycles.blocks * length, cycles.shortCycle);
    return result;
}

uint64_t multiplied(uint64_t set, const ElementCycles& cycles) {
    const int p = cycles.cycleLength;
    uint64_t result = set & ~((uint64_t{1} << p) - 1);
    for (uint64_t rest = set & ((uint64_t{1} << p) - 1); rest != 0; rest &= rest - 1)
        result |= uint64_t{1} << (static_cast<int64_t>(std::countr_zero(rest)) * cycles.multiplier % p);
    return result;
}

std::vector<uint64_t> orbitOf(uint64_t set, const ElementCycles& cycles) {
    std::vector<uint64_t> orbit{set};
    // Closed under the turn (and the multiplier): each image's images are added until none is new.
    for (size_t at = 0; at < orbit.size(); ++at) {
        const uint64_t images[2] = {turned(orbit[at], cycles),
                                    cycles.multiplier > 0 ? multiplied(orbit[at], cycles) : orbit[at]};
        for (const uint64_t image : images)
            if (std::find(orbit.begin(), orbit.end(), image) == orbit.end()) orbit.push_back(image);
    }
    return orbit;
}

namespace {

bool isPrime(int n) {
    if (n < 2) return false;
    for (int d = 2; d * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

// The multiplicative order of a modulo the prime p.
int orderModulo(int a, int p) {
    int order = 1;
    for (int64_t power = a % p; power != 1; power = power * a % p) ++order;
    return order;
}

}  // namespace

int multiplierOrder(const ElementCycles& cycles) {
    return cycles.multiplier > 0 ? orderModulo(cycles.multiplier, cycles.cycleLength) : 1;
}

std::vector<ElementCycles> candidateCycles(int elements, int mostFixed, bool multipliers) {
    std::vector<ElementCycles> groups;
    for (int length = elements; length >= 3; --length)
        for (int blocks = 1; blocks * length <= elements; ++blocks) {
            const int rest = elements - blocks * length;
            if (multipliers && rest <= mostFixed && blocks == 1 && isPrime(length)) {
                // One multiplier of each order dividing p - 1 (every element of that order gives
                // the same group), the largest orders first.
                for (int order = length - 1; order >= 2; --order) {
                    if ((length - 1) % order != 0) continue;
                    for (int a = 2; a < length; ++a)
                        if (orderModulo(a, length) == order) {
                            groups.push_back({1, length, 0, a});
                            break;
                        }
                }
            }
            if (rest <= mostFixed) groups.push_back({blocks, length, 0});
            for (int shortCycle = 2; shortCycle < length && shortCycle <= rest; ++shortCycle)
                if (length % shortCycle == 0 && rest - shortCycle <= mostFixed)
                    groups.push_back({blocks, length, shortCycle});
        }
    return groups;
}

bool buildOrbitModel(const CoverModel& model, const ElementCycles& cycles, int64_t mostSets, int64_t mostEntries,
                     OrbitModel& orbits) {
    orbits = OrbitModel{};
    orbits.cycles = cycles;
    const int n = model.elements, k = model.ticketSize, t = model.hits, m = model.targetSize;
    if (!model.storedTargets.empty() || !model.fixedTickets.empty() || n >= 64 ||
        cycles.cycled() > n || cycles.cycleLength < 2 || cycles.shortCycle == 1 ||
        (cycles.shortCycle > 0 && cycles.cycleLength % cycles.shortCycle != 0) ||
        (cycles.multiplier != 0 && (cycles.blocks != 1 || cycles.shortCycle != 0 || !isPrime(cycles.cycleLength) ||
                                    cycles.multiplier < 2 || cycles.multiplier >= cycles.cycleLength)))
        return false;
    if (binomial(n, k) > mostSets || binomial(n, m) > mostSets) return false;
    // There are at least C(n, k) / L ticket orbits, and the targets a ticket covers fall into at
    // least 1 / L as many target orbits: a model surely too large is refused unbuilt.
    int64_t coveredPerTicket = 0;
    for (int shared = t; shared <= std::min(k, m); ++shared)
        coveredPerTicket += binomial(k, shared) * binomial(n - k, m - shared);
    const int64_t fewestEntries = binomial(n, k) / cycles.cycleLength * (coveredPerTicket / cycles.cycleLength);
    if (fewestEntries > mostEntries) return false;
    const TargetIndex ticketIndex = TargetIndex::allSubsets(n, k);
    const TargetIndex targetIndex = TargetIndex::allSubsets(n, m);
    std::vector<int32_t> ticketOrbitOf, targetOrbitOf;
    numberOrbits(ticketIndex, cycles, ticketOrbitOf, &orbits.ticketOrbitFirst, &orbits.ticketOrbitSize);
    numberOrbits(targetIndex, cycles, targetOrbitOf, nullptr, nullptr);
    const int32_t targetOrbitCount = targetOrbitOf.empty() ? 0 : *std::max_element(targetOrbitOf.begin(), targetOrbitOf.end()) + 1;

    const uint64_t all = (uint64_t{1} << n) - 1;
    std::vector<int32_t> seenBy(static_cast<size_t>(targetOrbitCount), -1);
    int64_t entries = 0;
    orbits.covers.resize(orbits.ticketOrbitFirst.size());
    for (size_t j = 0; j < orbits.ticketOrbitFirst.size(); ++j) {
        const uint64_t ticket = orbits.ticketOrbitFirst[j];
        std::vector<int32_t>& list = orbits.covers[j];
        for (int shared = t; shared <= std::min(k, m); ++shared)
            forEachSubset(ticket, shared, [&](uint64_t inside) {
                forEachSubset(all & ~ticket, m - shared, [&](uint64_t rest) {
                    const int32_t orbit = targetOrbitOf[static_cast<size_t>(targetIndex.idOf(inside | rest))];
                    if (seenBy[static_cast<size_t>(orbit)] == static_cast<int32_t>(j)) return;
                    seenBy[static_cast<size_t>(orbit)] = static_cast<int32_t>(j);
                    list.push_back(orbit);
                });
            });
        entries += static_cast<int64_t>(list.size());
        if (entries > mostEntries) return false;
    }
    orbits.coveredBy.resize(static_cast<size_t>(targetOrbitCount));
    for (size_t j = 0; j < orbits.covers.size(); ++j)
        for (const int32_t orbit : orbits.covers[j]) orbits.coveredBy[static_cast<size_t>(orbit)].push_back(static_cast<int32_t>(j));
    return true;
}

std::vector<uint64_t> ticketsOfOrbits(const OrbitModel& orbits, const std::vector<int32_t>& chosen) {
    std::vector<uint64_t> tickets;
    for (const int32_t j : chosen) {
        const std::vector<uint64_t> orbit = orbitOf(orbits.ticketOrbitFirst[static_cast<size_t>(j)], orbits.cycles);
        tickets.insert(tickets.end(), orbit.begin(), orbit.end());
    }
    return tickets;
}

}  // namespace quillstep::cover

// The check of a wheel walks every target (the m-subsets of the pool holding every key, made as
// the keys and each (m - k)-subset of the other numbers, in lexicographic order) and asks whether
// one ticket shares at least t numbers with it, in one of two ways:
//   - intersections: the target's mask against every ticket's, one AND and one population count,
//     until one shares t;
//   - subsets: a ticket shares at least t numbers with a target exactly when one of the target's
//     t-subsets is a t-subset of the ticket, so the tickets' t-subsets go into a bitmap (by their
//     colex rank among the t-subsets of the pool) and each target looks up its C(m, t) own.
// The targets are cut into consecutive parts handed to the worker threads; each part keeps its own
// count and first holes, and the parts are joined in order, so the holes come in target order.

#include "wheels/pool/wheel_check.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <optional>

#include "wheels/subsets.h"
#include "base/worker_threads.h"
#include "base/processor.h"

namespace quillstep {
namespace {

constexpr int64_t TARGETS_PER_PART = 4096;
constexpr int64_t MOST_PARTS = 512;
constexpr int64_t TARGETS_BETWEEN_STOP_READS = 1024;

// The numbers of the pool other than the keys (the free numbers), the pool index of every number,
// and the ways to pick t of the m positions of a target and of the seven of a ticket.
struct Targets {
    uint64_t keys = 0;
    std::array<int, 64> freeNumbers{};
    int freeCount = 0;
    int chosen = 0;  // m - k free numbers per target
    int64_t count = 0;
    std::array<int, 64> poolIndex{};
};

Targets targetsOf(const WheelRequest& request) {
    Targets targets;
    targets.keys = request.keys;
    int index = 0;
    for (uint64_t rest = request.pool; rest != 0; rest &= rest - 1) {
        const int v = std::countr_zero(rest);
        targets.poolIndex[static_cast<size_t>(v)] = index++;
        if (!(request.keys >> v & 1)) targets.freeNumbers[static_cast<size_t>(targets.freeCount++)] = v;
    }
    targets.chosen = request.drawn - std::popcount(request.keys);
    targets.count = binomial(targets.freeCount, targets.chosen);
    return targets;
}

// The combination of `chosen` positions of 0..n-1 at lexicographic rank `rank`.
void unrank(int64_t rank, int n, int chosen, int* positions) {
    int x = 0;
    for (int i = 0; i < chosen; ++i) {
        for (;; ++x) {
            const int64_t starting = binomial(n - x - 1, chosen - i - 1);
            if (rank < starting) break;
            rank -= starting;
        }
        positions[i] = x++;
    }
}

// The next combination in lexicographic order; false after the last.
bool advance(int n, int chosen, int* positions) {
    int i = chosen - 1;
    while (i >= 0 && positions[i] == n - chosen + i) --i;
    if (i < 0) return false;
    ++positions[i];
    for (int j = i + 1; j < chosen; ++j) positions[j] = positions[j - 1] + 1;
    return true;
}

// The ways to pick t of `size` positions, t positions each.
std::vector<std::array<int, 7>> positionSubsets(int size, int t) {
    std::vector<std::array<int, 7>> subsets;
    for (unsigned pick = 0; pick < (1u << size); ++pick) {
        if (std::popcount(pick) != t) continue;
        std::array<int, 7> positions{};
        int k = 0;
        for (int p = 0; p < size; ++p)
            if (pick >> p & 1) positions[static_cast<size_t>(k++)] = p;
        subsets.push_back(positions);
    }
    return subsets;
}

// The tickets' t-subsets, by colex rank over pool indices: {a1 < ... < at} gets the sum of C(ai, i).
struct SubsetBitmap {
    int t = 0;
    std::vector<std::array<int, 7>> targetPositions;  // t of the m positions of a target
    std::vector<uint64_t> bits;

    int64_t rank(const int* indices, const std::array<int, 7>& positions) const {
        int64_t r = 0;
        for (int i = 0; i < t; ++i) r += binomial(indices[positions[static_cast<size_t>(i)]], i + 1);
        return r;
    }
    bool holds(int64_t r) const { return bits[static_cast<size_t>(r >> 6)] >> (r & 63) & 1; }
};

// The pool indices of the numbers of `mask`, ascending; how many.
int indicesOf(uint64_t mask, const Targets& targets, int* indices) {
    int count = 0;
    for (; mask != 0; mask &= mask - 1) indices[count++] = targets.poolIndex[static_cast<size_t>(std::countr_zero(mask))];
    return count;
}

SubsetBitmap ticketSubsets(const WheelRequest& request, const Targets& targets, const std::vector<uint64_t>& tickets) {
    SubsetBitmap bitmap;
    bitmap.t = request.hits;
    bitmap.targetPositions = positionSubsets(request.drawn, request.hits);
    bitmap.bits.assign(static_cast<size_t>(binomial(std::popcount(request.pool), request.hits) / 64 + 1), 0);
    const auto ticketPositions = positionSubsets(NUMBERS_PER_COMBINATION, request.hits);
    int indices[64];
    for (const uint64_t ticket : tickets) {
        indicesOf(ticket, targets, indices);
        for (const auto& positions : ticketPositions) {
            const int64_t r = bitmap.rank(indices, positions);
            bitmap.bits[static_cast<size_t>(r >> 6)] |= uint64_t{1} << (r & 63);
        }
    }
    return bitmap;
}

struct PartResult {
    int64_t uncovered = 0;
    std::vector<uint64_t> holes;
};

// Walks targets [begin, end) and calls covered(mask) on each; stops early when `stop` is raised.
template <typename Covered>
[[gnu::always_inline]] inline void walkTargets(const Targets& targets, int64_t begin, int64_t end, size_t holesKept,
                                               const StopFlag& stop, std::atomic<int64_t>& checked, PartResult& out,
                                               Covered covered) {
    int positions[64];
    unrank(begin, targets.freeCount, targets.chosen, positions);
    int64_t sinceStopRead = 0;
    for (int64_t rank = begin; rank < end; ++rank) {
        uint64_t target = targets.keys;
        for (int i = 0; i < targets.chosen; ++i) target |= uint64_t{1} << targets.freeNumbers[static_cast<size_t>(positions[i])];
        if (!covered(target)) {
            ++out.uncovered;
            if (out.holes.size() < holesKept) out.holes.push_back(target);
        }
        if (++sinceStopRead == TARGETS_BETWEEN_STOP_READS) {
            checked.fetch_add(sinceStopRead, std::memory_order_relaxed);
            sinceStopRead = 0;
            if (stop.load(std::memory_order_relaxed)) return;
        }
        advance(targets.freeCount, targets.chosen, positions);
    }
    checked.fetch_add(sinceStopRead, std::memory_order_relaxed);
}

struct Walk {
    const Targets& targets;
    size_t holesKept;
    const StopFlag& stop;
    std::atomic<int64_t>& checked;
};

[[gnu::always_inline]] inline void walkByIntersections(const Walk& walk, const std::vector<uint64_t>& tickets, int hits,
                                                       int64_t begin, int64_t end, PartResult& out) {
    const uint64_t* first = tickets.data();
    const size_t count = tickets.size();
    walkTargets(walk.targets, begin, end, walk.holesKept, walk.stop, walk.checked, out, [&](uint64_t target) {
        for (size_t s = 0; s < count; ++s)
            if (std::popcount(target & first[s]) >= hits) return true;
        return false;
    });
}

void walkByIntersectionsPortable(const Walk& walk, const std::vector<uint64_t>& tickets, int hits, int64_t begin,
                                 int64_t end, PartResult& out) {
    walkByIntersections(walk, tickets, hits, begin, end, out);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt"))) void walkByIntersectionsPopcnt(const Walk& walk, const std::vector<uint64_t>& tickets,
                                                                 int hits, int64_t begin, int64_t end, PartResult& out) {
    walkByIntersections(walk, tickets, hits, begin, end, out);
}
#else
void walkByIntersectionsPopcnt(const Walk& walk, const std::vector<uint64_t>& tickets, int hits, int64_t begin,
                               int64_t end, PartResult& out) {
    walkByIntersections(walk, tickets, hits, begin, end, out);
}
#endif

void walkBySubsets(const Walk& walk, const SubsetBitmap& bitmap, int64_t begin, int64_t end, PartResult& out) {
    walkTargets(walk.targets, begin, end, walk.holesKept, walk.stop, walk.checked, out, [&](uint64_t target) {
        int indices[64];
        indicesOf(target, walk.targets, indices);
        for (const auto& positions : bitmap.targetPositions)
            if (bitmap.holds(bitmap.rank(indices, positions))) return true;
        return false;
    });
}

// Subsets cost about C(m, t) ranks of t terms per target; intersections up to one AND and count
// per ticket.
WheelCheckWay cheaperWay(const WheelRequest& request, size_t tickets) {
    const int64_t subsetWork = binomial(request.drawn, request.hits) * (request.hits + 1);
    return static_cast<int64_t>(tickets) > subsetWork ? WheelCheckWay::Subsets : WheelCheckWay::Intersections;
}

std::optional<RefusedTicket> ticketFault(const WheelRequest& request, uint64_t ticket, int64_t index) {
    if (std::popcount(ticket) != NUMBERS_PER_COMBINATION) return RefusedTicket{index, ticket, TicketFault::NotSevenNumbers, 0};
    if (const uint64_t outside = ticket & ~request.pool; outside != 0)
        return RefusedTicket{index, ticket, TicketFault::OutsidePool, outside};
    if (const uint64_t missed = request.keys & ~ticket; missed != 0)
        return RefusedTicket{index, ticket, TicketFault::MissingKey, missed};
    return std::nullopt;
}

}  // namespace

int64_t wheelTargetCount(const WheelRequest& request) {
    if (findWheelRequestFault(request).refused()) return 0;
    return targetsOf(request).count;
}

WheelCheck checkWheel(const CoverRequest& asked, const std::vector<uint64_t>& tickets,
                      const WheelCheckSettings& settings) {
    const WheelRequest request = wheelOf(asked);
    WheelCheck check;
    check.tickets = static_cast<int64_t>(tickets.size());
    check.requestFault = findWheelRequestFault(request);
    if (check.requestFault.refused()) return check;
    for (size_t s = 0; s < tickets.size(); ++s) {
        if (const auto fault = ticketFault(request, tickets[s], static_cast<int64_t>(s))) {
            ++check.ticketsRefused;
            if (check.refusedTickets.size() < 10) check.refusedTickets.push_back(*fault);
        }
    }
    if (check.ticketsRefused > 0) return check;

    const Targets targets = targetsOf(request);
    check.targets = targets.count;
    const WheelCheckWay way = settings.way == WheelCheckWay::Automatic ? cheaperWay(request, tickets.size()) : settings.way;
    const SubsetBitmap bitmap = way == WheelCheckWay::Subsets ? ticketSubsets(request, targets, tickets) : SubsetBitmap{};
    const auto intersections = processorHasPopcnt() ? walkByIntersectionsPopcnt : walkByIntersectionsPortable;

    const int64_t parts = std::clamp<int64_t>(targets.count / TARGETS_PER_PART, 1, MOST_PARTS);
    const unsigned wanted = workerThreadCount(asked.threads);
    std::vector<PartResult> results(static_cast<size_t>(parts));
    StopFlag stop;
    std::atomic<int64_t> checked{0};
    const Walk walk{targets, settings.holesKept, stop, checked};
    const auto partBegin = [&](int64_t part) { return targets.count * part / parts; };

    WorkerRun run;
    run.parts = static_cast<unsigned>(parts);
    run.threads = static_cast<unsigned>(std::min<int64_t>(wanted, parts));
    run.work = [&](unsigned part) {
        if (stop.load(std::memory_order_relaxed)) return;
        PartResult& out = results[part];
        if (way == WheelCheckWay::Subsets)
            walkBySubsets(walk, bitmap, partBegin(part), partBegin(part + 1), out);
        else
            intersections(walk, tickets, request.hits, partBegin(part), partBegin(part + 1), out);
    };
    run.poll = [&] {
        if (settings.onProgress) settings.onProgress(checked.load(std::memory_order_relaxed), targets.count);
        if (settings.stopRequested && settings.stopRequested()) stop.raise();
    };
    run.onFailure = [&] { stop.raise(); };
    runWorkers(run);

    check.stopped = checked.load() < targets.count;  // a stop request or a failing part ended it early
    for (const PartResult& part : results) {
        check.uncovered += part.uncovered;
        for (const uint64_t hole : part.holes)
            if (check.holes.size() < settings.holesKept) check.holes.push_back(hole);
    }
    return check;
}

}  // namespace quillstep

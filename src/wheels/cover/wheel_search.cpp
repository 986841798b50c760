#include "wheels/cover/wheel_search.h"

#include <algorithm>
#include <bit>
#include <chrono>

#include "engine/lottery.h"
#include "wheels/cover/cover_search.h"
#include "wheels/cover/lower_bound.h"
#include "wheels/cover/split_construction.h"
#include "wheels/subsets.h"

namespace quillstep {
namespace {

// Of the time limit, what the covering from a split of the pool may take (where the guarantee
// splits); the search on the whole pool has the rest. Where the pool has very many sets of m
// numbers, a move of the search on the whole pool counts so many of them that the parts (far
// fewer sets each) make better use of the time.
constexpr double SPLIT_SHARE = 0.4;
constexpr double SPLIT_SHARE_MANY_TARGETS = 0.8;
constexpr int64_t MANY_TARGETS = 2000000;
// Of the search on the whole pool, what the coverings made of whole orbits of a symmetry of the
// pool may take: its threads start from the best of them.
constexpr double SYMMETRIC_SHARE = 0.3;

// The pool without the keys, as elements 0, 1, 2, ... in the order of their numbers.
std::vector<int> elementNumbers(const WheelRequest& request) {
    std::vector<int> numbers;
    for (uint64_t rest = request.pool & ~request.keys; rest != 0; rest &= rest - 1)
        numbers.push_back(std::countr_zero(rest));
    return numbers;
}

}  // namespace

cover::CoverModel wheelCoverModel(const WheelRequest& request) {
    // Every ticket holds the k keys and every target holds them too, so the keys give k of the t
    // hits on every ticket: the rest of the pool is wheeled with tickets of 7 - k numbers,
    // guaranteeing t - k hits if m - k of them are drawn.
    const int keys = std::popcount(request.keys);
    cover::CoverModel model;
    model.elements = std::popcount(request.pool) - keys;
    model.ticketSize = NUMBERS_PER_COMBINATION - keys;
    model.hits = request.hits - keys;
    model.targetSize = request.drawn - keys;
    return model;
}

WheelSearchResult searchWheel(const CoverRequest& request) {
    WheelSearchResult result;
    const WheelRequest wheel = wheelOf(request);
    result.requestFault = findWheelRequestFault(wheel);
    if (result.requestFault.refused()) return result;

    const cover::CoverModel model = wheelCoverModel(wheel);
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    const auto report = [&](int64_t bestSize) {
        if (request.onProgress)
            request.onProgress({bestSize, elapsed(), std::max(0.0, request.timeLimitSeconds - elapsed()), 0});
    };

    // A covering from a split of the pool first, where "t if m" splits (m + 1 >= 2t): the
    // search on the whole pool starts one thread from it.
    cover::SplitCovering split;
    if (cover::canSplit(model)) {
        cover::SplitSettings splitting;
        const bool many = binomial(model.elements, model.targetSize) > MANY_TARGETS;
        splitting.timeShareSeconds = (many ? SPLIT_SHARE_MANY_TARGETS : SPLIT_SHARE) * request.timeLimitSeconds;
        splitting.seed = request.seed;
        splitting.threads = request.threads;
        splitting.moveBudget = request.moveBudget;
        splitting.stopRequested = request.stopRequested;
        splitting.onProgress = [&](int64_t bestSize, double) { report(bestSize); };
        split = cover::searchSplitCovering(model, splitting);
    }

    // The search on the whole pool, unless stopped or the split's covering is at the lower bound.
    const int64_t lowerBound = cover::coveringLowerBound(model.elements, model.ticketSize, model.hits, model.targetSize);
    const bool splitAtBound = !split.tickets.empty() && static_cast<int64_t>(split.tickets.size()) <= lowerBound;
    cover::CoverSearchResult found;
    if (!split.stopped && !splitAtBound) {
        cover::CoverSearchSettings search;
        search.timeLimitSeconds = std::max(0.0, request.timeLimitSeconds - elapsed());
        search.seed = request.seed;
        search.threads = request.threads;
        search.moveBudget = request.moveBudget;
        search.lowerBound = lowerBound;
        search.annealing = cover::annealingFor(model);
        search.symmetricSeconds = SYMMETRIC_SHARE * search.timeLimitSeconds;
        search.startTickets = split.tickets;
        search.stopRequested = request.stopRequested;
        const int64_t splitSize = static_cast<int64_t>(split.tickets.size());
        search.onProgress = [&](const CoverProgress& progress) {
            report(progress.bestSize > 0 && (splitSize == 0 || progress.bestSize < splitSize) ? progress.bestSize : splitSize);
        };
        found = cover::searchCover(model, search);
    }
    // The smaller of the split's covering and the search's (which starts from it, but may have
    // been ended before it offered a covering).
    const bool searchBetter =
        found.complete && (split.tickets.empty() || found.tickets.size() <= split.tickets.size());
    const std::vector<uint64_t>& best = searchBetter ? found.tickets : split.tickets;

    const std::vector<int> numbers = elementNumbers(wheel);
    for (const uint64_t elements : best) {
        uint64_t ticket = wheel.keys;
        for (uint64_t rest = elements; rest != 0; rest &= rest - 1) ticket |= uint64_t{1} << numbers[std::countr_zero(rest)];
        result.tickets.push_back(ticket);
    }
    std::sort(result.tickets.begin(), result.tickets.end());
    result.stopped = split.stopped || found.stopped;
    result.timeLimitReached = found.timeLimitReached;
    result.tooManyTickets = best.empty() && found.tooManyTickets;
    result.seconds = elapsed();
    return result;
}

}  // namespace quillstep

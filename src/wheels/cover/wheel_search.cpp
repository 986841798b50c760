#include "wheels/cover/wheel_search.h"

#include <algorithm>
#include <bit>

#include "wheels/cover/cover_search.h"
#include "wheels/cover/lower_bound.h"

namespace quillstep {
namespace {

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
    model.ticketSize = WHEEL_TICKET_SIZE - keys;
    model.hits = request.hits - keys;
    model.targetSize = request.drawn - keys;
    return model;
}

WheelSearchResult searchWheel(const WheelRequest& request, const WheelSearchSettings& settings) {
    WheelSearchResult result;
    result.requestFault = findWheelRequestFault(request);
    if (result.requestFault.refused()) return result;

    const cover::CoverModel model = wheelCoverModel(request);
    cover::CoverSearchSettings search;
    search.timeLimitSeconds = settings.timeLimitSeconds;
    search.seed = settings.seed;
    search.threads = settings.threads;
    search.moveBudget = settings.moveBudget;
    search.lowerBound = cover::coveringLowerBound(model.elements, model.ticketSize, model.hits, model.targetSize);
    search.stopRequested = settings.stopRequested;
    if (settings.onProgress)
        search.onProgress = [&settings](const cover::CoverSearchProgress& progress) {
            settings.onProgress({progress.bestSize, progress.elapsedSeconds, progress.remainingSeconds});
        };
    const cover::CoverSearchResult found = cover::searchCover(model, search);

    const std::vector<int> numbers = elementNumbers(request);
    for (const uint64_t elements : found.tickets) {
        uint64_t ticket = request.keys;
        for (uint64_t rest = elements; rest != 0; rest &= rest - 1) ticket |= uint64_t{1} << numbers[std::countr_zero(rest)];
        result.tickets.push_back(ticket);
    }
    std::sort(result.tickets.begin(), result.tickets.end());
    result.stopped = found.stopped;
    result.timeLimitReached = found.timeLimitReached;
    result.seconds = found.seconds;
    return result;
}

}  // namespace quillstep

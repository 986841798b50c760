#include "wheels/cover/cover_search.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <mutex>
#include <stdexcept>

#include "wheels/cover/cover_annealing.h"
#include "wheels/cover/cover_state.h"
#include "wheels/cover/orbit_search.h"
#include "wheels/cover/ticket_building.h"
#include "base/worker_threads.h"

namespace quillstep::cover {
namespace {

using Clock = std::chrono::steady_clock;

// The smallest covering any thread has found.
class BestCovering {
public:
    int64_t size() const { return size_.load(std::memory_order_relaxed); }
    void offer(const std::vector<uint64_t>& tickets) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (static_cast<int64_t>(tickets.size()) >= size_.load()) return;
        tickets_ = tickets;
        size_.store(static_cast<int64_t>(tickets.size()));
    }
    bool found() const { return size() != NONE; }
    std::vector<uint64_t> tickets() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return tickets_;
    }

    static constexpr int64_t NONE = std::numeric_limits<int64_t>::max();

private:
    mutable std::mutex mutex_;
    std::vector<uint64_t> tickets_;
    std::atomic<int64_t> size_{NONE};
};

constexpr int64_t MOVES_BETWEEN_LOOKS = 256;

void searchOnOneThread(const CoverModel& model, const TargetIndex& targets, const CoverSearchSettings& settings,
                       unsigned part, unsigned parts, Clock::time_point start, BestCovering& best, StopFlag& stop,
                       std::atomic<int64_t>& moves, std::atomic<bool>& tooManyTickets) {
    Random random{mixSeed(settings.seed, part)};
    CoverState state(model, targets);
    std::vector<uint64_t> startTickets = part == 0 ? settings.startTickets : std::vector<uint64_t>{};
    // Where a covering needs at least a ticket per element, every thread looks for symmetric
    // coverings first (the groups shared out among them). Below that the smallest coverings often
    // have no such symmetry (small wheels of a few tickets): the odd threads then search plainly
    // from the start and keep the whole time.
    const bool everyThreadSymmetric = settings.lowerBound >= model.elements;
    const unsigned symmetricPart = everyThreadSymmetric ? part : part / 2;
    const unsigned symmetricParts = everyThreadSymmetric ? parts : (parts + 1) / 2;
    if (settings.symmetricSeconds > 0 && settings.moveBudget == 0 && (everyThreadSymmetric || part % 2 == 0)) {
        const auto deadline = start + std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::duration<double>(settings.symmetricSeconds));
        std::vector<uint64_t> symmetric =
            searchSymmetricCovering(model, random, settings.lowerBound, deadline, stop, symmetricPart, symmetricParts,
                                    [&](const std::vector<uint64_t>& tickets) { best.offer(tickets); });
        if (!symmetric.empty() && static_cast<int64_t>(symmetric.size()) <= settings.lowerBound) {
            stop.store(true);  // at the lower bound: the search is done
            return;
        }
        if (!symmetric.empty() && (startTickets.empty() || symmetric.size() < startTickets.size()))
            startTickets = std::move(symmetric);
    }
    try {
        for (const uint64_t ticket : startTickets) {
            if (stop.load(std::memory_order_relaxed)) return;
            state.addTicket(ticket);
        }
        if (!addGreedyTickets(state, random, stop)) return;
    } catch (const std::length_error&) {
        // The greedy start passed the tickets a cover count can tell apart.
        tooManyTickets.store(true);
        return;
    }
    // The greedy covering counts at once: a stop or the time limit from here on keeps it.
    best.offer(state.tickets());
    if (stop.load()) return;
    removeRedundantTickets(state, random, stop);
    best.offer(state.tickets());
    if (stop.load()) return;
    DescentSettings descent;
    descent.annealing = settings.annealing;
    descent.lowerBound = settings.lowerBound;
    descent.moveBudget = settings.moveBudget;
    // A covering at the lower bound ends every thread's search.
    if (descend(state, random, descent, [&] { return best.size(); },
                [&](const std::vector<uint64_t>& tickets) { best.offer(tickets); }, stop, moves)
            .reachedLowerBound)
        stop.store(true);
}

}  // namespace

DescentOutcome descend(CoverState& state, Random& random, const DescentSettings& settings,
                       const std::function<int64_t()>& bestSize,
                       const std::function<void(const std::vector<uint64_t>&)>& offer, const StopFlag& stop,
                       std::atomic<int64_t>& moves) {
    DescentOutcome outcome;
    CoverAnnealing annealing(state, random, settings.annealing);
    int64_t movesLeft = settings.moveBudget > 0 ? settings.moveBudget : std::numeric_limits<int64_t>::max();
    // A recount after every move: the moves are made one at a time.
    const int64_t movesPerLook = settings.recountEveryMove ? 1 : MOVES_BETWEEN_LOOKS;
    while (!stop.load(std::memory_order_relaxed)) {
        if (state.uncovered() == 0) {
            offer(state.tickets());
            if (static_cast<int64_t>(state.size()) <= settings.lowerBound || state.size() == 0) {
                outcome.reachedLowerBound = true;
                return outcome;
            }
        }
        // Work one below the best covering of any thread.
        if (state.uncovered() == 0 || static_cast<int64_t>(state.size()) >= bestSize()) {
            while (state.size() > 0 && static_cast<int64_t>(state.size()) >= bestSize())
                state.removeTicket(leastNeededTicket(state, random, stop));
            // Below a covering of one ticket (the fixed ones cover the rest) nothing is left to move.
            if (stop.load() || state.size() == 0) return outcome;
            annealing.restartCycle();
        }
        if (movesLeft <= 0) return outcome;
        const int64_t before = annealing.movesMade();
        annealing.run(std::min(movesLeft, movesPerLook), stop);
        const int64_t made = annealing.movesMade() - before;
        movesLeft -= made;
        outcome.moves += made;
        moves.fetch_add(made, std::memory_order_relaxed);
        if (settings.recountEveryMove && !agreesWithRecount(state)) {
            outcome.recountDisagreed = true;
            return outcome;
        }
        if (std::chrono::steady_clock::now() >= settings.deadline) return outcome;
    }
    return outcome;
}

CoverSearchResult searchCover(const CoverModel& model, const CoverSearchSettings& settings) {
    if (!isSearchable(model)) throw std::invalid_argument("a covering model that cannot be searched");
    const Clock::time_point start = Clock::now();
    const TargetIndex targets = model.storedTargets.empty()
                                    ? TargetIndex::allSubsets(model.elements, model.targetSize)
                                    : TargetIndex::storedSets(model.storedTargets, model.targetSize);
    CoverSearchResult result;
    BestCovering best;
    StopFlag stop;
    std::atomic<int64_t> moves{0};
    std::atomic<bool> tooManyTickets{false};
    const auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    Clock::time_point lastProgress = start;
    const auto poll = [&] {
        if (!stop.load() && settings.stopRequested && settings.stopRequested()) {
            result.stopped = true;
            stop.store(true);
        }
        const double seconds = elapsed();
        if (seconds >= settings.timeLimitSeconds && !stop.load()) {
            result.timeLimitReached = true;
            stop.store(true);
        }
        if (settings.onProgress && Clock::now() - lastProgress >= std::chrono::milliseconds(500)) {
            lastProgress = Clock::now();
            CoverProgress progress;
            progress.bestSize = best.found() ? best.size() : 0;
            progress.elapsedSeconds = seconds;
            progress.remainingSeconds = std::max(0.0, settings.timeLimitSeconds - seconds);
            settings.onProgress(progress);
        }
    };
    const unsigned threads = workerThreadCount(settings.threads);
    WorkerRun run;
    run.parts = threads;
    run.threads = threads;
    run.work = [&](unsigned part) {
        searchOnOneThread(model, targets, settings, part, threads, start, best, stop, moves, tooManyTickets);
    };
    run.poll = poll;
    run.onFailure = [&] { stop.store(true); };
    runWorkers(run);
    result.complete = best.found();
    result.tooManyTickets = !result.complete && tooManyTickets.load();
    result.tickets = best.tickets();
    result.seconds = elapsed();
    result.moves = moves.load();
    return result;
}

}  // namespace quillstep::cover

#include "wheels/large_optimiser/large_optimiser.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <limits>
#include <new>
#include <optional>
#include <thread>

#include "wheels/cover/cover_search.h"
#include "wheels/cover/cover_state.h"
#include "wheels/cover/target_index.h"
#include "wheels/cover/ticket_building.h"
#include "wheels/large_optimiser/part_covering.h"
#include "wheels/large_optimiser/strong_greedy.h"
#include "wheels/large_optimiser/weighted_search.h"
#include "base/worker_threads.h"

namespace quillstep::large {
namespace {

using Clock = std::chrono::steady_clock;

// Each search holds five bytes per stored combination (77 MB at the full wheel of 39): at most
// this many run at once, whatever the thread count.
constexpr unsigned MOST_SEARCHES = 16;
constexpr auto POLL_INTERVAL = std::chrono::milliseconds(20);
constexpr auto PROGRESS_INTERVAL = std::chrono::milliseconds(500);
// The greedy first runs with a few climbs per member, for a complete system soon; then again with
// as many climbs as its share of the time allows (more give smaller systems), as long as there
// is time. The local search after it gets the rest of the time: on full wheels at four hits the
// annealing, whose moves are costly where many combinations change cover per move (many
// numbers), so that the greedy gets more time there; everywhere else the weighted search, which
// gains more than further climbs (beyond some 64 per member they find no smaller system).
constexpr int FIRST_CLIMBS = 8;
constexpr int MOST_CLIMBS = 2048;
constexpr int MOST_CLIMBS_BEFORE_WEIGHTED_SEARCH = 64;
constexpr double GREEDY_SHARE = 0.4;
constexpr double GREEDY_SHARE_COSTLY_MOVES = 0.85;
constexpr double GREEDY_SHARE_BEFORE_WEIGHTED_SEARCH = 0.25;
constexpr int64_t COSTLY_MOVE = 50'000;  // combinations whose cover a move may change
// The weighted search stalls within some 10,000 moves of its last gain, at sizes that differ
// from one greedy start to the next (287 to 293 on the mode-8 store): so it ends where it stalls
// and starts again from a new greedy system, as long as there is time.
constexpr int64_t WEIGHTED_SEARCH_STALL_MOVES = 20'000;

// A system from parts, on full wheels at four hits: at most this share of the time, and this long.
constexpr double PARTS_SHARE = 0.25;
constexpr double PARTS_LONGEST_SECONDS = 90.0;
// From this many numbers on the parts beat the greedy by far: every thread builds from parts.
constexpr int PARTS_ON_EVERY_THREAD = 30;

constexpr double FULL_WHEEL_AT_FIVE_HITS_PAIR_LIMIT = 1.0e8;

std::string requestError(const CoverRequest& r) {
    if (r.hits != 4 && r.hits != 5) return "the guarantee must be 4 or 5 hits";
    if (r.highestNumber() < NUMBERS_PER_COMBINATION || r.highestNumber() > MAX_TOTAL_NUMBERS) return "the count of numbers must be 7 to 40";
    if (r.storedCount < 0 || (r.storedCount > 0 && r.stored == nullptr)) return "no combinations were given";
    if (r.drawn != NUMBERS_PER_COMBINATION || r.keys != 0) return "the targets must be stored combinations";
    if (!r.fixedTickets.empty()) return "fixed tickets are the completion's";
    if (r.pool != numbersUpTo(r.highestNumber())) return "the pool must be the numbers 1..N";
    if (r.storedCount > binomialOrZero(r.highestNumber(), NUMBERS_PER_COMBINATION)) return "more combinations than there are";
    if (!(r.timeLimitSeconds > 0)) return "the time limit must be positive";
    const uint64_t allowed = numbersUpTo(r.highestNumber());
    for (int64_t i = 0; i < r.storedCount; ++i)
        if (bitCount(r.stored[i]) != NUMBERS_PER_COMBINATION || (r.stored[i] & ~allowed))
            return "combination " + std::to_string(i + 1) + " does not hold seven numbers of 1.." +
                   std::to_string(r.highestNumber());
    return {};
}

// The smallest system of all threads, published as it improves.
class BestSystem {
public:
    void offer(const std::vector<uint64_t>& system, unsigned thread) {
        std::lock_guard lock(mutex_);
        if (!system_.empty() && (system.size() > system_.size() || (system.size() == system_.size() && thread >= thread_)))
            return;
        system_ = system;
        thread_ = thread;
        size_.store(static_cast<int32_t>(system.size()));
    }
    int32_t size() const { return size_.load(); }
    std::vector<uint64_t> take() {
        std::lock_guard lock(mutex_);
        return std::move(system_);
    }

private:
    std::mutex mutex_;
    std::vector<uint64_t> system_;
    unsigned thread_ = 0;
    std::atomic<int32_t> size_{0};
};

// A full wheel at four hits is the wheel "4 if 7" on the numbers 1..N: its covering model, number v
// as element v - 1, with every 7-subset a target known by its rank.
struct FullWheelModel {
    explicit FullWheelModel(int numbers)
        : model{numbers, NUMBERS_PER_COMBINATION, 4, NUMBERS_PER_COMBINATION, {}, {}},
          targets(cover::TargetIndex::allSubsets(numbers, NUMBERS_PER_COMBINATION)) {}
    cover::CoverModel model;
    cover::TargetIndex targets;
};

struct Shared {
    Shared(const CoverRequest& r, const StoredIndex& i, Clock::time_point greedyEnd, const FullWheelModel* wheel)
        : request(r), index(i), greedyDeadline(greedyEnd), fullWheel(wheel) {}
    const CoverRequest& request;
    const StoredIndex& index;
    const Clock::time_point greedyDeadline;
    StopFlag stop;  // raised by the calling thread's poll or a failing search
    std::atomic<bool> greedyOver{false};
    std::atomic<int64_t> moves{0};
    std::atomic<bool> recountDisagreed{false};
    BestSystem best;
    const FullWheelModel* fullWheel;  // on full wheels at four hits only
};

// The covering model's annealing serves the full wheels at four hits, the weighted search every
// other store.
bool annealingSuits(const StoredIndex& index, const CoverRequest& request) {
    return index.isFullWheel() && request.hits == 4;
}

double greedyShare(const StoredIndex& index, const CoverRequest& request) {
    if (!annealingSuits(index, request)) return GREEDY_SHARE_BEFORE_WEIGHTED_SEARCH;
    const int t = request.hits;
    const int64_t moveChanges = 2 * binomialOrZero(6, t - 1) * binomialOrZero(request.highestNumber() - 8, NUMBERS_PER_COMBINATION - t);
    return moveChanges > COSTLY_MOVE ? GREEDY_SHARE_COSTLY_MOVES : GREEDY_SHARE;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The greedy's systems, better ones with more climbs while its share of the time lasts. False
// when stopped before the first was complete.
bool greedySystem(Shared& shared, unsigned thread, Random& random, Coverage& coverage, std::vector<uint64_t>& members) {
    const CoverRequest& request = shared.request;
    GreedySettings settings;
    settings.anyCombination = request.anyTicket;
    settings.climbs = FIRST_CLIMBS;
    Clock::time_point start = Clock::now();
    if (!completeGreedily(coverage, request.stored, request.storedCount, members, settings, random, shared.stop))
        return false;
    shared.best.offer(members, thread);
    settings.abandon = &shared.greedyOver;
    const int mostClimbs = annealingSuits(shared.index, request) ? MOST_CLIMBS : MOST_CLIMBS_BEFORE_WEIGHTED_SEARCH;
    while (!shared.greedyOver.load() && !shared.stop.load()) {
        const double secondsPerClimb = secondsSince(start) / (static_cast<double>(members.size()) * settings.climbs);
        const double remaining = std::chrono::duration<double>(shared.greedyDeadline - Clock::now()).count();
        const double affordable = 0.9 * remaining / (secondsPerClimb * static_cast<double>(members.size()));
        if (affordable < settings.climbs) break;  // no better run fits in the time left
        settings.climbs = static_cast<int>(std::min<double>(mostClimbs, affordable));
        Coverage fresh(shared.index, request.hits);
        std::vector<uint64_t> again;
        start = Clock::now();
        if (!completeGreedily(fresh, request.stored, request.storedCount, again, settings, random, shared.stop)) break;
        if (again.size() < members.size()) {
            members = std::move(again);
            coverage = std::move(fresh);
            shared.best.offer(members, thread);
        }
        if (settings.climbs == mostClimbs) break;
    }
    return true;
}

// Weighted searches from `members` (counted in `coverage`), then from new greedy systems
// whenever one stalls, until the stop or the move budget. Smaller systems are offered as they
// come; the moves and a recount's disagreement go to the shared record.
void weightedSearches(Shared& shared, unsigned thread, Random& random, Coverage& coverage,
                      std::vector<uint64_t> members) {
    const CoverRequest& request = shared.request;
    int64_t budgetLeft = request.moveBudget;
    for (;;) {
        WeightedSearchSettings weighted;
        weighted.stallMoves = WEIGHTED_SEARCH_STALL_MOVES;
        weighted.anyCombination = request.anyTicket;
        weighted.moveBudget = budgetLeft;
        weighted.recountEveryMove = request.recountEveryMove;
        const WeightedSearchOutcome outcome =
            searchWeighted(coverage, request.stored, request.storedCount, members, weighted, random, shared.stop,
                           [&](const std::vector<uint64_t>& system) { shared.best.offer(system, thread); });
        shared.moves += outcome.moves;
        if (outcome.mismatch) shared.recountDisagreed = true;
        if (outcome.mismatch || !outcome.stalled) return;
        if (request.moveBudget > 0 && (budgetLeft -= outcome.moves) <= 0) return;
        Coverage fresh(shared.index, request.hits);
        members.clear();
        GreedySettings greedy;
        greedy.anyCombination = request.anyTicket;
        greedy.climbs = MOST_CLIMBS_BEFORE_WEIGHTED_SEARCH;
        if (!completeGreedily(fresh, request.stored, request.storedCount, members, greedy, random, shared.stop))
            return;
        coverage = std::move(fresh);
        shared.best.offer(members, thread);
    }
}

// The full wheel at four hits: a start from parts (every even thread, every thread from 30
// numbers on) or from the greedy, then the covering model's descent, the one the wheel search
// makes, on every 7-subset of 1..N.
void searchFullWheelAtFour(Shared& shared, unsigned thread, Random& random) {
    const CoverRequest& request = shared.request;
    std::vector<uint64_t> members;
    if (thread % 2 == 0 || request.highestNumber() >= PARTS_ON_EVERY_THREAD) {
        const double seconds = std::min(PARTS_LONGEST_SECONDS, PARTS_SHARE * request.timeLimitSeconds);
        members = fullWheelFromParts(request.highestNumber(), seconds, random.next(), shared.stop);
        if (members.empty()) return;
        // Blocks holding every 4-subset of each part cover every draw: the system is offered at
        // once, since counting its cover on a large wheel takes a second or more and the stop may
        // come first. The check before the file is written sees it anyway.
        shared.best.offer(members, thread);
    } else {
        Coverage coverage(shared.index, request.hits);
        if (!greedySystem(shared, thread, random, coverage, members)) return;
    }
    const auto offer = [&](const std::vector<uint64_t>& tickets) {
        std::vector<uint64_t> system;
        system.reserve(tickets.size());
        for (const uint64_t ticket : tickets) system.push_back(ticket << 1);
        shared.best.offer(system, thread);
    };
    cover::CoverState state(shared.fullWheel->model, shared.fullWheel->targets);
    for (const uint64_t member : members) {
        if (shared.stop.load()) return;
        state.addTicket(member >> 1);
    }
    if (shared.stop.load()) return;
    cover::removeRedundantTickets(state, random, shared.stop);
    if (shared.stop.load()) return;
    cover::DescentSettings descent;
    descent.moveBudget = request.moveBudget;
    descent.recountEveryMove = request.recountEveryMove;
    const auto bestSize = [&]() -> int64_t {
        const int32_t size = shared.best.size();
        return size > 0 ? size : std::numeric_limits<int64_t>::max();
    };
    if (cover::descend(state, random, descent, bestSize, offer, shared.stop, shared.moves).recountDisagreed)
        shared.recountDisagreed = true;
}

void searchOnThread(Shared& shared, unsigned thread) {
    const CoverRequest& request = shared.request;
    Random random{mixSeed(request.seed, thread)};
    if (shared.fullWheel != nullptr) {
        searchFullWheelAtFour(shared, thread, random);
        return;
    }
    Coverage coverage(shared.index, request.hits);
    std::vector<uint64_t> members;
    if (!greedySystem(shared, thread, random, coverage, members)) return;
    shared.best.offer(members, thread);
    weightedSearches(shared, thread, random, coverage, std::move(members));
}

}  // namespace

double relationPairsEstimate(int64_t targetCount, int guaranteedHits, int totalNumbers) {
    if (totalNumbers < NUMBERS_PER_COMBINATION || totalNumbers > MAX_TOTAL_NUMBERS || targetCount <= 0) return 0.0;
    // A combination covers this many of all combinations of 1..totalNumbers; a store covers its
    // share of them.
    double covered = 0;
    for (int kept = guaranteedHits; kept <= NUMBERS_PER_COMBINATION; ++kept)
        covered += static_cast<double>(binomialOrZero(NUMBERS_PER_COMBINATION, kept) * binomialOrZero(totalNumbers - NUMBERS_PER_COMBINATION, NUMBERS_PER_COMBINATION - kept));
    const double share = static_cast<double>(targetCount) / static_cast<double>(binomialOrZero(totalNumbers, NUMBERS_PER_COMBINATION));
    return static_cast<double>(targetCount) * covered * share;
}

bool prefersLargeOptimiser(int64_t targetCount, int guaranteedHits, int totalNumbers, double relationPairLimit) {
    const double pairs = relationPairsEstimate(targetCount, guaranteedHits, totalNumbers);
    if (pairs > relationPairLimit) return true;
    // On full wheels at five hits the weighted search finds smaller systems sooner once the
    // relation passes 10^8 pairs (from 20 numbers on: 148 against 152 at 20, 268 against 276 at
    // 22, in a minute); on filtered stores the relation still serves better there.
    const bool fullWheel = totalNumbers >= NUMBERS_PER_COMBINATION && totalNumbers <= MAX_TOTAL_NUMBERS &&
                           targetCount == binomialOrZero(totalNumbers, NUMBERS_PER_COMBINATION);
    return guaranteedHits == 5 && fullWheel && pairs > FULL_WHEEL_AT_FIVE_HITS_PAIR_LIMIT;
}

Result optimiseLargeStore(const CoverRequest& request) {
    Result result;
    result.error = requestError(request);
    if (!result.error.empty() || request.storedCount == 0) return result;
    const Clock::time_point begin = Clock::now();
    const StoredIndex index(request.stored, request.storedCount, request.highestNumber());
    const auto greedyOver = begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                        greedyShare(index, request) * request.timeLimitSeconds));
    std::optional<FullWheelModel> fullWheel;
    if (annealingSuits(index, request)) fullWheel.emplace(request.highestNumber());
    Shared shared{request, index, greedyOver, fullWheel ? &*fullWheel : nullptr};
    const auto deadline =
        begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(request.timeLimitSeconds));
    auto nextProgress = begin + PROGRESS_INTERVAL;
    const auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - begin).count(); };
    // Every thread runs a search of its own (worker_threads.h): a thread that does not start
    // leaves its search to the others, or to this thread, which then polls from the searches'
    // reads of the stop flag; a search without memory ends all of them and its std::bad_alloc
    // reaches the caller once every thread has ended.
    WorkerRun run;
    run.parts = std::min(workerThreadCount(request.threads), MOST_SEARCHES);
    run.work = [&](unsigned thread) { searchOnThread(shared, thread); };
    run.onFailure = [&] { shared.stop.raise(); };
    run.pollInterval = POLL_INTERVAL;
    run.poll = [&] {
        const auto now = Clock::now();
        // A stop asked for while the searches wind down after their time limit still counts:
        // the result says it was stopped.
        if (!result.stopped && request.stopRequested && request.stopRequested()) {
            result.stopped = true;
            shared.stop.raise();
        }
        if (!shared.stop.load() && now >= deadline) {
            result.timeLimitReached = true;
            shared.stop.raise();
        }
        if (now >= greedyOver) shared.greedyOver = true;
        if (request.onProgress && now >= nextProgress) {
            const double seconds = elapsed();
            request.onProgress({shared.best.size(), seconds, std::max(0.0, request.timeLimitSeconds - seconds),
                                shared.moves.load()});
            while (nextProgress <= now) nextProgress += PROGRESS_INTERVAL;
        }
    };
    runWorkers(run);
    result.system = shared.best.take();
    result.moves = shared.moves.load();
    result.recountDisagreed = shared.recountDisagreed.load();
    result.seconds = elapsed();
    return result;
}

}  // namespace quillstep::large

#include "wheels/optimiser/optimiser_control.h"

#include <algorithm>

#include "wheels/random.h"

namespace quillstep {
namespace {

constexpr auto POLL_INTERVAL = WORKER_POLL_INTERVAL;
constexpr auto PROGRESS_INTERVAL = std::chrono::milliseconds(500);

int32_t smallerSize(int32_t a, int32_t b) { return a == 0 ? b : b == 0 ? a : std::min(a, b); }

}  // namespace

OptimiserControl::OptimiserControl(const CoverRequest& request, double reserveSeconds)
    : request_(request),
      begin_(Clock::now()),
      searchDeadline_(begin_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                   std::max(0.0, request.timeLimitSeconds - reserveSeconds)))),
      nextProgress_(begin_ + PROGRESS_INTERVAL) {}

void OptimiserControl::keepBack(double seconds) {
    searchDeadline_ -= std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

double OptimiserControl::elapsedSeconds() const {
    return std::chrono::duration<double>(Clock::now() - begin_).count();
}

void OptimiserControl::publishSize(int32_t size) { publishedSize_.store(smallerSize(publishedSize_.load(), size)); }

int32_t OptimiserControl::bestSize() const {
    int32_t best = publishedSize_.load();
    for (const auto& search : searches_) best = smallerSize(best, search.bestSize.load());
    return best;
}

int64_t OptimiserControl::steps() const {
    int64_t steps = 0;
    for (const auto& search : searches_) steps += search.steps.load();
    return steps;
}

void OptimiserControl::poll() {
    // A stop asked for while the searches wind down after their time limit still counts: the
    // result says it was stopped.
    if (!stopped_ && request_.stopRequested && request_.stopRequested()) {
        stopped_ = true;
        stop_.raise();
    }
    const auto now = Clock::now();
    if (!stop_.load() && now >= searchDeadline_) {
        timeLimitReached_ = true;
        stop_.raise();
    }
    if (request_.onProgress && now >= nextProgress_) {
        CoverProgress progress;
        progress.bestSize = bestSize();
        progress.elapsedSeconds = elapsedSeconds();
        progress.remainingSeconds = std::max(0.0, request_.timeLimitSeconds - progress.elapsedSeconds);
        progress.moves = steps();
        request_.onProgress(progress);
        while (nextProgress_ <= now) nextProgress_ += PROGRESS_INTERVAL;
    }
}

void OptimiserControl::runParts(unsigned parts, const std::function<void(unsigned part)>& work) {
    WorkerRun run;
    run.parts = parts;
    run.work = work;
    run.poll = [this] { poll(); };
    run.pollInterval = POLL_INTERVAL;
    run.onFailure = [this] { stop_.raise(); };
    runWorkers(run);
}

LocalSearchOutcome OptimiserControl::bestLocalSearch(const CoverRelation& relation, const std::vector<int32_t>& start,
                                                     unsigned searches, uint64_t seed, int64_t stepBudget) {
    std::vector<LocalSearchProgress*> progress;
    for (unsigned i = 0; i < searches; ++i) progress.push_back(&addSearch());
    std::vector<LocalSearchOutcome> outcomes(searches);
    runParts(searches, [&](unsigned i) {
        outcomes[i] = improveSystem(relation, start, mixSeed(seed, i), stepBudget, stopFlag(), *progress[i]);
    });
    LocalSearchOutcome best;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        best.steps += outcomes[i].steps;
        if (i == 0 || outcomes[i].best.size() < best.best.size()) best.best = std::move(outcomes[i].best);
    }
    return best;
}

}  // namespace quillstep

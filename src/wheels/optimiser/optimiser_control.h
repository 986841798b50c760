#pragma once
// The optimiser's work runs on worker threads while the calling thread stays in a polling loop:
// it asks the caller's stop request, watches the time limit and reports progress, and raises one
// shared flag that every worker reads between small pieces of work.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>

#include "wheels/optimiser/cover_local_search.h"
#include "wheels/optimiser/optimiser.h"
#include "base/worker_threads.h"

namespace quillstep {

class OptimiserControl {
public:
    using Clock = std::chrono::steady_clock;

    // The search ends `reserveSeconds` before the time limit, leaving that time for the final check.
    OptimiserControl(const CoverRequest& request, double reserveSeconds);

    // Ends the search `seconds` earlier still, for work that must follow it (called between parts).
    void keepBack(double seconds);

    const StopFlag& stopFlag() const { return stop_; }
    bool stopped() const { return stopped_; }
    bool timeLimitReached() const { return timeLimitReached_; }
    double elapsedSeconds() const;

    // Runs work(part) for every part 0 to parts - 1, each on a thread of its own where one can be
    // started (worker_threads.h), and polls on the calling thread until all have ended. A part
    // that throws raises the stop flag for the others; the exception reaches the caller.
    void runParts(unsigned parts, const std::function<void(unsigned part)>& work);

    // What the progress reports show: sizes found before the local search, and the searches'.
    void publishSize(int32_t size);
    LocalSearchProgress& addSearch() { return searches_.emplace_back(); }

    // Runs `searches` local searches from `start` at once (improveSystem, seeds mixed from `seed`
    // and the search's number) and returns the smallest system any found, with the steps of all.
    LocalSearchOutcome bestLocalSearch(const CoverRelation& relation, const std::vector<int32_t>& start,
                                       unsigned searches, uint64_t seed, int64_t stepBudget);
    int32_t bestSize() const;
    int64_t steps() const;

private:
    void poll();

    const CoverRequest& request_;
    const Clock::time_point begin_;
    Clock::time_point searchDeadline_;
    Clock::time_point nextProgress_;
    StopFlag stop_;
    bool stopped_ = false;
    bool timeLimitReached_ = false;
    std::atomic<int32_t> publishedSize_{0};
    std::deque<LocalSearchProgress> searches_;
};

}  // namespace quillstep

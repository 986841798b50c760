#include "wheels/optimiser/optimiser_control.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace quillstep {
namespace {

constexpr auto POLL_INTERVAL = std::chrono::milliseconds(20);
constexpr auto PROGRESS_INTERVAL = std::chrono::milliseconds(500);

int32_t smallerSize(int32_t a, int32_t b) { return a == 0 ? b : b == 0 ? a : std::min(a, b); }

}  // namespace

OptimiserControl::OptimiserControl(const OptimiserRequest& request, double reserveSeconds)
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
    if (!stop_.load() && request_.stopRequested && request_.stopRequested()) {
        stopped_ = true;
        stop_ = true;
    }
    const auto now = Clock::now();
    if (!stop_.load() && now >= searchDeadline_) {
        timeLimitReached_ = true;
        stop_ = true;
    }
    if (request_.onProgress && now >= nextProgress_) {
        OptimiserProgress progress;
        progress.bestSize = bestSize();
        progress.elapsedSeconds = elapsedSeconds();
        progress.remainingSeconds = std::max(0.0, request_.timeLimitSeconds - progress.elapsedSeconds);
        progress.steps = steps();
        request_.onProgress(progress);
        while (nextProgress_ <= now) nextProgress_ += PROGRESS_INTERVAL;
    }
}

void OptimiserControl::runParts(unsigned parts, const std::function<void(unsigned part)>& work) {
    std::mutex mutex;
    std::condition_variable partEnded;
    unsigned ended = 0;
    std::vector<std::thread> workers;
    workers.reserve(parts);
    const auto runPart = [&](unsigned part) {
        work(part);
        std::lock_guard lock(mutex);
        ++ended;
        partEnded.notify_one();
    };
    for (unsigned part = 0; part < parts; ++part) {
        try {
            workers.emplace_back(runPart, part);
        } catch (const std::system_error&) {
            runPart(part);  // no thread to be had: the part runs here, without polling meanwhile
        }
    }
    std::unique_lock lock(mutex);
    while (ended < parts) {
        lock.unlock();
        poll();
        lock.lock();
        partEnded.wait_for(lock, POLL_INTERVAL, [&] { return ended == parts; });
    }
    lock.unlock();
    for (auto& worker : workers) worker.join();
}

}  // namespace quillstep

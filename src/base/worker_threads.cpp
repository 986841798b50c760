#include "base/worker_threads.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <vector>

namespace quillstep {
namespace {

// The test hook: while on, starts succeed until the count runs out.
std::atomic<bool> startFailuresOn{false};
std::atomic<int64_t> startsBeforeFailure{0};
std::atomic<bool> partFailuresOn{false};
std::atomic<int64_t> partsBeforeFailure{0};

// The poll of a run whose parts the calling thread runs itself, given its turn from StopFlag reads.
struct InlinePoll {
    const WorkerRun& run;
    std::chrono::steady_clock::time_point next;
    bool polling = false;

    void maybePoll() {
        if (polling || !run.poll) return;
        const auto now = std::chrono::steady_clock::now();
        if (now < next) return;
        polling = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{polling};
        next = now + run.pollInterval;
        run.poll();
    }
};
thread_local InlinePoll* inlinePoll = nullptr;

// Parts handed out one by one, the first failure kept.
class PartQueue {
public:
    explicit PartQueue(const WorkerRun& run) : run_(run) {}

    // Runs parts until none is left or one has failed.
    void work() {
        for (;;) {
            const unsigned part = next_.fetch_add(1);
            if (part >= run_.parts || failed_.load()) return;
            try {
                if (partFailuresOn.load() && partsBeforeFailure.fetch_sub(1) <= 0) throw std::bad_alloc();
                run_.work(part);
            } catch (...) {
                fail(std::current_exception());
            }
        }
    }
    void fail(std::exception_ptr error) {
        {
            std::lock_guard lock(mutex_);
            if (first_) return;
            first_ = error;
        }
        failed_.store(true);
        if (run_.onFailure) run_.onFailure();
    }
    void threadEnds() {
        std::lock_guard lock(mutex_);
        ++ended_;
        ended.notify_all();
    }
    // Waits until `threads` threads have ended, polling meanwhile.
    void waitFor(size_t threads) {
        std::unique_lock lock(mutex_);
        while (ended_ < threads) {
            ended.wait_for(lock, run_.pollInterval, [&] { return ended_ >= threads; });
            if (ended_ >= threads) break;
            lock.unlock();
            pollGuarded();
            lock.lock();
        }
    }
    // The run's own poll, or, for a run without one started from parts that the calling thread
    // runs itself, the poll of that outer run.
    void pollGuarded() {
        if (failed_.load()) return;
        try {
            if (run_.poll)
                run_.poll();
            else if (inlinePoll != nullptr)
                inlinePoll->maybePoll();
        } catch (...) {
            fail(std::current_exception());
        }
    }
    void rethrowFailure() {
        if (first_) std::rethrow_exception(first_);
    }

private:
    const WorkerRun& run_;
    std::atomic<unsigned> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;
    std::condition_variable ended;
    size_t ended_ = 0;
    std::exception_ptr first_;
};

}  // namespace

bool StopFlag::load(std::memory_order order) const {
    if (InlinePoll* poll = inlinePoll; poll != nullptr && !raised_.load(std::memory_order_relaxed)) poll->maybePoll();
    return raised_.load(order);
}

std::thread startWorkerThread(std::function<void()> body) {
    if (startFailuresOn.load() && startsBeforeFailure.fetch_sub(1) <= 0)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "thread start refused (test hook)");
    return std::thread(std::move(body));
}

void failThreadStartsAfter(int64_t successfulStarts) {
    startsBeforeFailure.store(successfulStarts);
    startFailuresOn.store(successfulStarts >= 0);
}

void failPartsAfter(int64_t successfulParts) {
    partsBeforeFailure.store(successfulParts);
    partFailuresOn.store(successfulParts >= 0);
}

unsigned workerThreadCount(unsigned asked) {
    return std::clamp(asked != 0 ? asked : std::thread::hardware_concurrency(), 1u, MOST_WORKER_THREADS);
}

unsigned runWorkers(const WorkerRun& run) {
    if (run.parts == 0) return 0;
    const unsigned wanted = run.threads == 0 ? run.parts : std::min(run.threads, run.parts);
    PartQueue queue(run);
    std::vector<std::thread> threads;
    try {
        threads.reserve(wanted);
    } catch (const std::bad_alloc&) {
        // No room even for the list of threads: the calling thread runs the parts.
    }
    for (unsigned t = 0; t < wanted && threads.capacity() > threads.size(); ++t) {
        try {
            threads.push_back(startWorkerThread([&queue] {
                queue.work();
                queue.threadEnds();
            }));
        } catch (const std::system_error&) {
            break;  // fewer threads than wished: those started take the other parts
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    if (threads.empty()) {
        if (!run.runInlineWithoutThreads) return 0;
        InlinePoll poll{run, std::chrono::steady_clock::now() + run.pollInterval};
        struct Restore {
            InlinePoll* outer = inlinePoll;
            ~Restore() { inlinePoll = outer; }
        } restore;
        if (run.poll) inlinePoll = &poll;  // a run without a poll leaves an outer run's in place
        queue.work();
    } else {
        queue.waitFor(threads.size());
    }
    for (std::thread& thread : threads) thread.join();
    queue.pollGuarded();
    queue.rethrowFailure();
    return static_cast<unsigned>(threads.size());
}

}  // namespace quillstep

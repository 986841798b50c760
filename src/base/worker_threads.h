#pragma once
// Running a piece of work as parts on worker threads, the one way every search, optimiser part
// and check of the wheels does it:
//   - every thread start is guarded: a start the system refuses (std::system_error) leaves fewer
//     threads, which take the parts left over; with no thread at all the calling thread runs them;
//   - the calling thread polls (the stop request, the time limit, progress) at the usual interval
//     while the parts run, and, when it runs parts itself, from every read of a StopFlag;
//   - an exception thrown by a part (std::bad_alloc, ...) is caught on its thread, the other
//     parts are told to end (onFailure), every thread is joined, and the first exception is
//     rethrown on the calling thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

namespace quillstep {

// The flag workers read between small pieces of work. Raised by the calling thread's poll (a stop
// request, the time limit) or by a failing part. A read on a thread that runs parts itself,
// because no worker thread could be started, also gives that run's poll its turn when the poll
// interval has passed: so the stop request and the time limit are watched there too.
class StopFlag {
public:
    bool load(std::memory_order order = std::memory_order_seq_cst) const;
    void raise() noexcept { raised_.store(true); }
    void store(bool raised) noexcept { raised_.store(raised); }

private:
    std::atomic<bool> raised_{false};
};

constexpr std::chrono::milliseconds WORKER_POLL_INTERVAL{20};

struct WorkerRun {
    unsigned parts = 1;
    unsigned threads = 0;  // threads to start (at most `parts`); 0: one per part
    std::function<void(unsigned part)> work;
    // Called on the calling thread about every `pollInterval` while parts run, and once after the
    // last has ended; may be empty.
    std::function<void()> poll;
    std::chrono::milliseconds pollInterval = WORKER_POLL_INTERVAL;
    // Called once, on the failing thread, when a part (or the poll) throws: makes the other parts
    // end soon, typically by raising their StopFlag. The parts not yet begun are left out.
    std::function<void()> onFailure;
    // When no thread could be started, whether the calling thread runs the parts (true) or none
    // of them is run and runWorkers reports 0 threads (false, for callers that do the work
    // themselves in that case).
    bool runInlineWithoutThreads = true;
};

// Runs work(part) for every part 0 to parts - 1 (each exactly once unless a part fails), then
// returns the number of worker threads that ran them (0: the calling thread ran them). Rethrows
// the first exception thrown by a part or by the poll, once every thread has been joined.
unsigned runWorkers(const WorkerRun& run);

// Starts a thread running `body`, as runWorkers does: throws std::system_error when the system
// (or the test hook below) refuses.
std::thread startWorkerThread(std::function<void()> body);

// The most threads one run of the wheels starts: enough for any machine the program meets, few
// enough that a thread's own tables (the optimiser's search, a check's counts) stay affordable.
constexpr unsigned MOST_WORKER_THREADS = 64;

// The threads of a run asked for `asked` threads (0: one per hardware thread), 1 to
// MOST_WORKER_THREADS. Each run may use fewer where it has fewer parts.
unsigned workerThreadCount(unsigned asked);

// A test hook: every thread start after the next `successfulStarts` fails with std::system_error,
// as under a process limit; a negative count lets every start succeed again.
void failThreadStartsAfter(int64_t successfulStarts);

// A test hook: every part begun (by runWorkers) after the next `successfulParts` throws
// std::bad_alloc before its work, as when a worker finds no memory for its tables; a negative
// count turns it off.
void failPartsAfter(int64_t successfulParts);

}  // namespace quillstep

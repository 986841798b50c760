// SIGINT and SIGTERM on POSIX systems. The handlers do only what is safe inside a signal handler:
// they record the signal's number or a stop request (lock-free atomic stores). The writer notices
// at its next block, removes its temporary file and returns; the command loop then reports and
// ends the program. A search notices the stop request between starting combinations.

#if !defined(_WIN32)

#include <atomic>
#include <csignal>
#include <iterator>

#include "cli/interrupts.h"

namespace quillstep {
namespace {

volatile std::sig_atomic_t arrivedSignal = 0;
std::atomic<bool> stopRequested{false};

extern "C" void onWriteInterrupt(int signal) {
    arrivedSignal = signal;
    requestWriteCancel();
}

extern "C" void onStopInterrupt(int) { stopRequested = true; }

constexpr int CAUGHT_SIGNALS[] = {SIGINT, SIGTERM};
using Handler = void (*)(int);
Handler previousHandlers[std::size(CAUGHT_SIGNALS)];
Handler previousStopHandler = SIG_DFL;

}  // namespace

WriteInterrupts::WriteInterrupts() {
    arrivedSignal = 0;
    clearWriteCancel();
    for (size_t i = 0; i < std::size(CAUGHT_SIGNALS); ++i)
        previousHandlers[i] = std::signal(CAUGHT_SIGNALS[i], onWriteInterrupt);
}

WriteInterrupts::~WriteInterrupts() {
    for (size_t i = 0; i < std::size(CAUGHT_SIGNALS); ++i) std::signal(CAUGHT_SIGNALS[i], previousHandlers[i]);
    clearWriteCancel();
}

int WriteInterrupts::signal() const { return arrivedSignal; }

StopOnInterrupt::StopOnInterrupt() {
    stopRequested = false;
    previousStopHandler = std::signal(SIGINT, onStopInterrupt);
}

StopOnInterrupt::~StopOnInterrupt() { std::signal(SIGINT, previousStopHandler); }

bool StopOnInterrupt::requested() { return stopRequested.load(); }

}  // namespace quillstep

#endif

// The handler does only what is safe inside a signal handler: it records the signal's number and
// asks the writer to give up (a lock-free atomic store). The writer notices at its next block,
// removes its temporary file and returns; the command loop then reports and ends the program.

#include "cli/interrupts.h"

#include <csignal>
#include <iterator>

namespace quillstep {
namespace {

volatile std::sig_atomic_t arrivedSignal = 0;

extern "C" void onWriteInterrupt(int signal) {
    arrivedSignal = signal;
    requestWriteCancel();
}

constexpr int CAUGHT_SIGNALS[] = {SIGINT, SIGTERM};
using Handler = void (*)(int);
Handler previousHandlers[std::size(CAUGHT_SIGNALS)];

const char* signalName(int signal) { return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal"; }

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

std::string interruptedWriteLine(const FileWriteResult& result, int signal) {
    std::string line = std::string("quillstep-cli: interrupted by ") + signalName(signal) + ": ";
    if (result.written) return line + result.fileName + " had been written already";
    return line + result.fileName + " not written, the previous file is kept";
}

int interruptedExitCode(int signal) { return 128 + signal; }

}  // namespace quillstep

// The texts and exit codes of a write given up on a signal; the handlers that catch the signals
// are the platform's (interrupts_posix.cpp, console_interrupts_win32.cpp).

#include "cli/interrupts.h"

#include <csignal>

namespace quillstep {
namespace {

const char* signalName(int signal) { return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal"; }

}  // namespace

std::string interruptedWriteLine(const FileWriteResult& result, int signal) {
    std::string line = std::string("quillstep-cli: interrupted by ") + signalName(signal) + ": ";
    if (result.written) return line + result.fileName + " had been written already";
    return line + result.fileName + " not written, the previous file is kept";
}

std::string interruptedReason(int signal) {
    return std::string("interrupted by ") + signalName(signal) + ", the previous file is kept";
}

int interruptedExitCode(int signal) { return 128 + signal; }

}  // namespace quillstep

#pragma once
// SIGINT and SIGTERM while quillstep-cli writes a file: the write gives up, its temporary file goes,
// the previous file stays, and the program ends with 128 + the signal's number. On Windows the
// console's control events stand for the signals: Ctrl+C for SIGINT, Ctrl+Break and the closing of
// the console window for SIGTERM. Ctrl+C during a search or the optimiser asks it to stop.

#include <string>

#include "files/combination_file.h"

namespace quillstep {

// Catches SIGINT and SIGTERM from construction to destruction, then puts back what was there.
class WriteInterrupts {
public:
    WriteInterrupts();
    ~WriteInterrupts();
    WriteInterrupts(const WriteInterrupts&) = delete;
    WriteInterrupts& operator=(const WriteInterrupts&) = delete;

    // The signal that arrived meanwhile, or 0.
    int signal() const;
};

// Ctrl+C (SIGINT) from construction to destruction asks the running search to stop instead of
// ending the program; requested() says whether it came. Puts back what was there before.
class StopOnInterrupt {
public:
    StopOnInterrupt();
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

    static bool requested();
};

// The line for stderr after a write during which `signal` arrived, e.g.
// "quillstep-cli: interrupted by SIGINT: mb_comb_file.txt not written, the previous file is kept".
std::string interruptedWriteLine(const FileWriteResult& result, int signal);

// The reason of the "not written:" line of a write given up on `signal`, e.g.
// "interrupted by SIGINT, the previous file is kept".
std::string interruptedReason(int signal);

// The exit code after `signal`: 130 for SIGINT, 143 for SIGTERM.
int interruptedExitCode(int signal);

}  // namespace quillstep

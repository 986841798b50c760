#pragma once
// SIGINT and SIGTERM while quillstep-cli writes a file: the write gives up, its temporary file goes,
// the previous file stays, and the program ends with 128 + the signal's number.

#include <string>

#include "commands/combination_file.h"

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

// The line for stderr after a write during which `signal` arrived, e.g.
// "quillstep-cli: interrupted by SIGINT: mb_comb_file.txt not written, the previous file is kept".
std::string interruptedWriteLine(const FileWriteResult& result, int signal);

// The exit code after `signal`: 130 for SIGINT, 143 for SIGTERM.
int interruptedExitCode(int signal);

}  // namespace quillstep

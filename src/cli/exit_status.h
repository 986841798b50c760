#pragma once
// The one rule of the command line. stdout carries a command's contract lines and, for a command
// that writes a file, its last line: "file: <name> rows: <n> seconds: <s>" or "not written:
// <reason>", the reason in the words of the fault table (texts/fault_texts); stderr carries what
// is for people: progress, the window's messages ("message: ..."), why the line was refused, and
// why a file to read could not be read. The exit status is the kind of the ending
// (base/fault.h): 0 done or an answer, 1 a fault, 2 refused, 3 uncovered, 4 no system in time; a
// write given up on a signal ends with 128 + its number.

#include <ostream>
#include <string>
#include <string_view>

#include "base/fault.h"
#include "files/combination_file.h"

namespace quillstep {

int exitStatusOf(FaultKind kind);

// "not written: <reason>" on `out`; returns the kind's exit status.
int reportNotWritten(std::ostream& out, FaultKind kind, const std::string& reason);

// The last line of a command that writes a file: its "file:" line when `fault` is none, else its
// "not written:" line (`subject` names the system in a failed check's words); returns the exit status.
int reportWrite(std::ostream& out, const Fault& fault, const FileWriteResult& file,
                std::string_view subject = "the system");

}  // namespace quillstep

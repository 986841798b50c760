#pragma once
// The standard output and error of quillstep-cli write the same bytes on every system.

namespace quillstep {

// On Windows, switches stdout and stderr from text mode (which writes every "\n" as "\r\n") to
// binary, so that scripts read the lines of Linux byte for byte; elsewhere nothing to do.
void useSameLineEndsEverywhere();

}  // namespace quillstep

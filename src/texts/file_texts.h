#pragma once
// The text of a written file, for the windows and the command line alike: the message at the end
// of a write. Why a file was not written is the fault table's (texts/fault_texts.h).

#include <cstdint>
#include <string>

#include "files/combination_file.h"

namespace quillstep {

// The message at the end of a write: the time taken, or why the file was not written and that the
// previous one stays.
std::string fileWriteEndedMessage(const FileWriteResult& result);

}  // namespace quillstep

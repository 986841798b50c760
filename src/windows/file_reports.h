#pragma once
// How the writing of a file shows in the main window: the rows written in its time label, then a
// message box with the time taken (and the time in the label) or why the write failed. Used by
// the main window's buttons and the "Smaller systems" and "Check a system" windows; the texts are
// those of texts/file_texts.h, which the command line prints too.

#include "files/combination_file.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "texts/file_texts.h"

namespace quillstep {

// The rows written so far in the time label, the platform's clock, and the message at the end.
WriteObserver mainWindowWriteObserver(Platform& platform);

// Button "Last data to mb_comb_file.txt": the first generatedCount stored combinations.
FileWriteResult writeCombinationFile(SharedState& state, Platform& platform);

}  // namespace quillstep

#pragma once
// The three text files (stored combinations, systems G4 and G5) and their viewer.

#include <cstdint>
#include <string>

#include "engine/shared_state.h"
#include "platform/platform.h"

namespace quillstep {

constexpr const char* COMBINATION_FILE_NAME = "mb_comb_file.txt";
constexpr const char* G4_SYSTEM_FILE_NAME = "mb_comb_file_ab.txt";
constexpr const char* G5_SYSTEM_FILE_NAME = "mb_comb_file_ab5.txt";
constexpr const char* EDITOR_COMMAND_PREFIX = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe ";

struct FileWriteResult {
    bool written = false;    // every byte reached the disk and replaced the old file
    std::string fileName;
    int32_t rows = 0;
    double seconds = 0.0;    // the rows alone
    std::string error;       // why it failed, when it did
};

// Button "Last data to mb_comb_file.txt": the first generatedCount stored combinations.
FileWriteResult writeCombinationFile(SharedState& state, Platform& platform);
// The first `systemSize` combinations of the abbreviated-system store. A non-empty descriptionNote
// is added to the description line (for a system that holds combinations outside the filters).
FileWriteResult writeG4SystemFile(SharedState& state, Platform& platform, int32_t systemSize,
                                  const std::string& descriptionNote = {});
FileWriteResult writeG5SystemFile(SharedState& state, Platform& platform, int32_t systemSize,
                                  const std::string& descriptionNote = {});

// Opens the file in the word processor and waits until it is closed; falls back to the system's
// default program for text files, and says so when neither can be started.
void viewFile(Platform& platform, const std::string& fileName);

}  // namespace quillstep

#pragma once
// The three text files (stored combinations, systems G4 and G5) and their viewer.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/fault.h"
#include "engine/shared_state.h"

namespace quillstep {

constexpr const char* COMBINATION_FILE_NAME = "mb_comb_file.txt";
constexpr const char* G4_SYSTEM_FILE_NAME = "mb_comb_file_ab.txt";
constexpr const char* G5_SYSTEM_FILE_NAME = "mb_comb_file_ab5.txt";

struct FileWriteResult {
    bool written = false;    // every byte reached the disk and replaced the old file
    bool refusedBeforeReplacing = false;  // complete, but the check before the rename refused it
    std::string fileName;
    int32_t rows = 0;
    double seconds = 0.0;    // the rows alone
    std::string error;       // why it failed, when it did
};

// How a write ended: none when written, ReadBackDiffers (detail: the file's name) when the check
// before replacing refused the complete file, else WriteFailed (detail: the writer's error).
Fault writtenFileFault(const FileWriteResult& file);

class ReplacementFile;
// A look at the complete file before it takes the old file's place, through the file itself (so
// that another writer replacing the target at the same time is never what it sees). False keeps
// the old file.
using CheckBeforeReplacing = std::function<bool(ReplacementFile& written)>;

// What a write tells while it runs and when it ends; the texts are made by the caller (the main
// window's time label and message box, see windows/file_reports.h). Every member may be empty.
struct WriteObserver {
    std::function<double()> timeOfDaySeconds;  // the clock that times the rows (empty: 0 seconds)
    // Rows written so far: 0, then every 5000 rows (the combination file) or every 50 (a system file).
    std::function<void(int32_t rowsWritten)> onProgress;
    std::function<void(const FileWriteResult&)> onEnded;  // once, with the result returned
};

// The first generatedCount stored combinations into "mb_comb_file.txt".
FileWriteResult writeCombinationRows(SharedState& state, const WriteObserver& observer);
// The first `systemSize` combinations of the abbreviated-system store into the file of the
// guarantee (4: "mb_comb_file_ab.txt", 5: "mb_comb_file_ab5.txt"). A non-empty descriptionNote is
// added to the description line (for a system that holds combinations outside the filters). A
// given checkBeforeReplacing decides whether the complete file replaces the old one. A non-empty
// `target` is a name of the user's own, taken as given, instead of the guarantee's file in the
// output folder; the result's fileName is then that name.
FileWriteResult writeSystemRows(SharedState& state, int guaranteedHits, int32_t systemSize,
                                const std::string& descriptionNote, const WriteObserver& observer,
                                const CheckBeforeReplacing& checkBeforeReplacing = {},
                                const std::filesystem::path& target = {});
// A path as the texts show it, also where the narrow character set cannot spell it.
std::string pathText(const std::filesystem::path& path);
// The first header line of every file the program writes (in double quotes there).
constexpr const char* PROGRAM_HEADER_LINE = "Marrowby - Quillstep";
// Rows of seven numbers (`rows` rows of seven from `numbers`, ascending within a row) into `target`
// as the system files are written: each header line in double quotes, a blank line, then
// "row,a,b,c,d,e,f,g" lines counting from 1, CR LF, through a temporary file that replaces the old
// one when complete (and accepted by a given checkBeforeReplacing). The result names the file
// `shownName`.
FileWriteResult writeNumberRows(const std::filesystem::path& target, const std::string& shownName,
                                const std::vector<std::string>& headerLines, const int32_t* numbers, int32_t rows,
                                const WriteObserver& observer, const CheckBeforeReplacing& checkBeforeReplacing = {});
// The system file of the guarantee: "mb_comb_file_ab.txt" (4) or "mb_comb_file_ab5.txt" (5).
const char* systemFileName(int guaranteedHits);

// Asks a write in progress, or the next one, to give up: it removes its temporary file, leaves the
// previous file as it was and fails with WRITE_INTERRUPTED_ERROR. Async-signal-safe (one lock-free
// atomic store), so that a signal handler may call it.
void requestWriteCancel() noexcept;
void clearWriteCancel() noexcept;
extern const char* const WRITE_INTERRUPTED_ERROR;
// The error of a write that found no room for its buffers: the previous file stays.
extern const char* const WRITER_OUT_OF_MEMORY_ERROR;

}  // namespace quillstep

#pragma once
// What the "Check a system" window says about a system file: one text per label, made from the
// examination of the file, and the texts of a completion while it runs and when it has ended.

#include <string>

#include "usecases/system_completion.h"
#include "usecases/system_examination.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

// Shown while no file has been opened.
constexpr const char* NO_SYSTEM_FILE_TEXT = "No file opened yet: press \"Open file...\" to choose a system file.";

// The texts of every label that describes an examined file, in the order of the labels.
struct SystemFileTexts {
    std::string file;            // "File: name.txt"
    std::string size;            // "System size: 14 combinations"
    std::string uncovered;       // uncovered stored combinations at the guarantee
    std::string storeProfile;    // best match over the stored combinations
    std::string drawProfile;     // best match over every possible draw
    std::string shares;          // the shares of all draws with at least 3, 4 and 5 hits
    std::string storedShare;     // the share of all draws that the store holds
    std::string holes;           // the first holes
};

SystemFileTexts systemFileTexts(const std::string& fileName, const SystemExamination& examination,
                                int guaranteedHits, int totalNumbers);

// A file that cannot be read or holds a malformed line: its name, the line and the fault.
std::string unreadableFileText(const std::string& fileName, const SystemExamination& examination);

// While the completion runs: the members added so far and the seconds left.
std::string completionProgressText(const CoverProgress& progress);

// Why the completion wrote no file, in lower case as the command line prints it ("nothing is
// stored: the last storing run accepted no combination"); "" when it wrote one.
std::string completionFaultText(const CompletionOutcome& outcome);

// The completion's outcome: what was kept and added and where it went, or why nothing was written.
std::string completionOutcomeText(const CompletionOutcome& outcome, int guaranteedHits);

// What a written system wins beyond its guarantee: " It gets at least 4 hits on 0.35% of all
// 15380937 possible draws." (with the blank in front, to follow another sentence).
std::string allDrawsShareText(const DrawProfile& profile, int guaranteedHits);

// "1 combination", "14 combinations".
std::string combinationCountText(int64_t count);

}  // namespace quillstep

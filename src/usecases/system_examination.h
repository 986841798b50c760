#pragma once
// What a system file is worth: read it, check it against the store (its holes and how well it
// hits the stored combinations) and profile it over every possible draw. Shared by the command
// line (check4/5, profile, match) and the "Check a system" window, with the texts both show.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/system_file_reader.h"
#include "engine/shared_state.h"
#include "wheels/check/draw_profile.h"
#include "wheels/check/independent_system_check.h"

namespace quillstep {

struct SystemExamination {
    std::string error;      // the file could not be read or holds a malformed line; nothing else is set
    int64_t errorLine = 0;  // 1-based line of the mistake; 0 when none or the file could not be read
    bool withoutCombination = false;  // the file was read but holds no combination
    std::vector<uint64_t> lines;  // the system's combinations as masks, in file order
    bool checkedAgainstStore = false;  // false: nothing stored, or not asked for
    SystemCheck check;                 // against the store, at the guarantee asked for
    std::vector<uint64_t> holes;       // the first uncovered stored combinations, as masks
    DrawProfile profile;               // over every draw of 1..totalNumbers
    bool ok() const { return error.empty(); }
};

struct ExaminationRequest {
    int guaranteedHits = 4;
    bool againstStore = true;   // check against the stored combinations (when there are any)
    bool overAllDraws = true;   // profile over every possible draw
    size_t holesKept = 10;
};

SystemExamination examineSystemFile(const SharedState& state, const std::filesystem::path& path,
                                    const ExaminationRequest& request);

// The combinations of a file as masks.
std::vector<uint64_t> systemMasks(const SystemFileContents& contents);

// How many draws of seven numbers 1..totalNumbers there are: C(totalNumbers, 7).
int64_t possibleDraws(int totalNumbers);

// part / whole as a percentage with two decimals, rounded half up ("0.07"), except that only none
// prints as "0.00" and only all as "100.00": a share above none that would round to 0.00 prints as
// "0.01", and one below all that would round to 100.00 prints as "99.99", so that a share is never
// rounded into a promise. "0.00" when whole is 0. Every share of draws the program shows (the
// command line's and the windows') is made here.
std::string percentText(int64_t part, int64_t whole);

// "7=<a> 6=<b> 5=<c> 4=<d> 3=<e> 2=<f> 1=<g> 0=<h>".
std::string hitCountsText(const std::array<int64_t, 8>& counts);

// "1,2,3,4,5,6,7": the numbers of a mask in ascending order.
std::string combinationText(uint64_t mask);

}  // namespace quillstep

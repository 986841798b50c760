#pragma once
// The writer of a wheel file: the wheel is checked over every m-subset of its pool by the
// independent check (wheels/pool/wheel_check), then written in this program's system-file form
// through the one writer of the system files (a temporary file that replaces the old one only
// when complete) and read back through the written file before it takes the old one's place.
// Its header names the pool, the keys and the guarantee; its lines hold the pool's own numbers.
// Unlike the G4/G5 files it is not bound to 999 lines: only to what every reader of a system
// file takes (files/system_file_reader.h).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/fault.h"
#include "files/combination_file.h"
#include "files/system_file_reader.h"
#include "wheels/pool/wheel_check.h"

namespace quillstep {

constexpr const char* WHEEL_FILE_NAME = "mb_comb_file_wheel.txt";

// The header lines of a wheel file (each written in double quotes, then a blank line):
//   "Marrowby - Quillstep"
//   "wheel of 13 numbers"
//   "pool: 3,7,11-20"
//   "keys: 3,7" (or "keys: none")
//   "guarantee: 4 if 5"
std::vector<std::string> wheelFileHeader(const WheelRequest& request);
constexpr int64_t WHEEL_FILE_HEADER_LINES = 6;  // the five above and the blank line
// The most tickets a wheel file holds, so that every reader of a system file takes it whole.
constexpr int64_t WHEEL_FILE_ROW_LIMIT = SYSTEM_FILE_LINE_LIMIT - WHEEL_FILE_HEADER_LINES;

struct WheelToWrite {
    const CoverRequest& request;           // the wheel (wheelCoverRequest); its threads check it
    const std::vector<uint64_t>& tickets;  // as masks, in the order of the file's lines
    std::filesystem::path target;          // where the file goes
    std::string shownName;                 // how the result names it
};

struct WheelFileOutcome {
    // None: checked, written and read back as the wheel. WheelTooLargeForFile: more tickets than
    // WHEEL_FILE_ROW_LIMIT, nothing written. WheelUncovering: the check refused the request or a
    // ticket, found holes or was stopped (see `check`). WriteFailed, ReadBackDiffers: the previous
    // file stays.
    Fault fault;
    WheelCheck check;
    FileWriteResult file;

    bool written() const { return fault.none(); }
};

WheelFileOutcome writeCheckedWheelFile(const WheelToWrite& wheel, const WheelCheckSettings& checkSettings,
                                       const WriteObserver& observer);

}  // namespace quillstep

#pragma once
// Reading a system file back: this program's own system files ("row,a,b,c,d,e,f,g" lines after a
// quoted header), the same without header, or plain lines of seven numbers separated by commas,
// blanks, tabs or semicolons, with or without a header line.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillstep {

using SystemFileCombination = std::array<int32_t, 7>;  // ascending

struct SystemFileContents {
    std::vector<SystemFileCombination> combinations;  // in file order
    int64_t errorLine = 0;  // 1-based line of the first mistake; 0 when none or the file could not be read
    std::string error;      // empty when the file was read and every line is well formed
    bool ok() const { return error.empty(); }
};

constexpr int32_t HIGHEST_SYSTEM_FILE_NUMBER = 39;

// Lines may end in CR LF or LF. Blank lines are skipped anywhere; lines that begin with a double
// quote, a letter or '#' are header lines and may only come before the first combination. A
// combination line holds seven numbers, or a row number and seven numbers, separated by commas,
// semicolons and/or blanks or tabs; the seven
// must be distinct and lie in 1..39, in any order. All combination lines of a file have the same
// form: with a row number or without.
SystemFileContents parseSystemFileText(std::string_view text);

// The file read whole and parsed; an unreadable file gives an error naming it.
SystemFileContents readSystemFile(const std::filesystem::path& path);

// The combination as a mask (bit v for number v).
uint64_t combinationMask(const SystemFileCombination& combination);

}  // namespace quillstep

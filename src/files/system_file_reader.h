#pragma once
// Reading a system file back: this program's own system files ("row,a,b,c,d,e,f,g" lines after a
// quoted header), the same without header, or other programs' lines of seven numbers separated by
// commas, blanks, tabs or semicolons (or by one of - | / : .), each number bare or in double or
// single quotes, after header lines of words or without them, in UTF-8 or UTF-16.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/lottery.h"
#include "files/text_lines.h"

namespace quillstep {

using SystemFileCombination = std::array<int32_t, 7>;  // ascending

struct SystemFileContents {
    std::vector<SystemFileCombination> combinations;  // in file order
    std::vector<int64_t> lines;  // the 1-based line of the file that holds each combination
    int64_t errorLine = 0;  // 1-based line of the first mistake; 0 when none or the file could not be read
    std::string error;      // empty when the file was read and every line is well formed
    bool withoutCombination = false;  // refused for holding no combination (error says so)
    bool ok() const { return error.empty(); }
};

// A system file has at most this many lines (blank and header lines count), each of at most
// SYSTEM_FILE_LINE_LENGTH_LIMIT bytes; a longer file or line is refused at the first line beyond,
// so that reading takes bounded memory and time whatever the file holds. A million lines hold the
// largest wheels of 39 numbers worth playing (6 if 6 on 32 numbers takes over 150,000 tickets)
// and take some 40 MB once read.
constexpr int64_t SYSTEM_FILE_LINE_LIMIT = 1000000;
constexpr size_t SYSTEM_FILE_LINE_LENGTH_LIMIT = 1000;

// The rules, line by line (lines, their ends, encodings and limits as TextLineReader in
// files/text_lines.h takes them: LF, CR LF or CR; UTF-8, or UTF-16 after its byte order mark;
// full-width digits as digits; blanks at either end of a line do not count):
// - blank lines are skipped anywhere; a line with a NUL byte is refused (UTF-16 without its mark);
// - header lines come only before the first combination line: this program's quoted form ("text",
//   with no other double quote, and not only numbers), or another program's line of words without
//   a digit, except in captions such as "N1" or "Ball7" ("N1;N2;...", "# my system",
//   "\"Ball1\",\"Ball2\""). Any other line with a digit in it is never passed over as a header: it is
//   a combination line or a mistake;
// - a combination line holds seven numbers separated by commas, semicolons, blanks and/or tabs, or
//   by one of '-', '|', '/', ':', '.' ("1-2-3-4-5-6-7"), each bare or in double or single quotes,
//   or, in this program's own form only (digits and commas: row,a,b,c,d,e,f,g), a row number and
//   seven numbers, the rows counting 1, 2, 3, ...; all combination lines of a file have the same
//   form and the same separators;
// - the seven must be distinct and lie in 1..39, in any order.
// The first line that breaks a rule ends the reading: the error names it by its own number.
class SystemFileParser : public LineByLineParser<SystemFileParser, SystemFileContents> {
public:
    SystemFileParser();
    // The end of the file: reads a last line without line end and hands the contents over.
    SystemFileContents finish();
    // What a file whose bytes could not be read gives.
    static SystemFileContents unreadable();

private:
    friend LineByLineParser;
    bool readLine(int64_t lineNumber, std::string_view line);
    void dropWhatWasRead();

    std::optional<bool> rowNumbers_;  // known from the first combination line on
    char separator_ = 0;              // the separator mark of the first combination line (0: plain)
};

SystemFileContents parseSystemFileText(std::string_view text);

// Reads a system file from `readSome`, which fills up to `size` bytes of `buffer` and returns how
// many it filled, 0 at the end and a negative number when the bytes cannot be read.
SystemFileContents readSystemFileFrom(const std::function<int64_t(char* buffer, size_t size)>& readSome);

// Why a file without combination is refused: "<name>: " and this.
constexpr const char* NO_COMBINATION_TEXT =
    "holds no combination (the file is empty or holds only blank or header lines)";

// Whether a file that holds no combination (empty, blank lines or header lines only) is a system.
// Where a user's system is to be used it is refused; reading back a file just written takes it.
enum class EmptySystemFile { Refused, Read };

// The file read and parsed as a stream; an unreadable file gives an error naming it and the reason,
// and a file without combination (unless `empty` is Read) an error naming it and saying so.
SystemFileContents readSystemFile(const std::filesystem::path& path, EmptySystemFile empty = EmptySystemFile::Refused);

// Why the file cannot be opened for reading ("cannot read <name>: <reason>"), or "" when it can.
// Its content is not read.
std::string systemFileOpenProblem(const std::filesystem::path& path);

// The combination as a mask (bit v for number v).
uint64_t combinationMask(const SystemFileCombination& combination);

}  // namespace quillstep

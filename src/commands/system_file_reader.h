#pragma once
// Reading a system file back: this program's own system files ("row,a,b,c,d,e,f,g" lines after a
// quoted header), the same without header, or other programs' lines of seven numbers separated by
// commas, blanks, tabs or semicolons, each number bare or in double quotes, after header lines of
// words or without them.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
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
// A system file has at most this many lines (blank and header lines count), each of at most
// SYSTEM_FILE_LINE_LENGTH_LIMIT bytes; a longer file or line is refused at the first line beyond,
// so that reading takes bounded memory and time whatever the file holds.
constexpr int64_t SYSTEM_FILE_LINE_LIMIT = 10000;
constexpr size_t SYSTEM_FILE_LINE_LENGTH_LIMIT = 1000;

// The rules, line by line (lines end in LF, CR LF or CR alone; a UTF-8 byte order mark at the
// start is skipped; blanks at either end of a line do not count):
// - blank lines are skipped anywhere;
// - header lines come only before the first combination line: this program's quoted form ("text",
//   with no other double quote, and not seven numbers), or another program's line of words, none
//   of whose fields is a number ("N1;N2;...", "# my system", "\"Ball1\",\"Ball2\""). A line that
//   holds a number field is never dropped as a header: it is a combination line or a mistake;
// - a combination line holds seven numbers separated by commas, semicolons, blanks and/or tabs,
//   each bare or in double quotes, or, in this program's own form only (digits and commas:
//   row,a,b,c,d,e,f,g), a row number and seven numbers, the rows counting 1, 2, 3, ...; all
//   combination lines of a file have the same form;
// - the seven must be distinct and lie in 1..39, in any order.
// The first line that breaks a rule ends the reading: the error names it by its own number.
class SystemFileParser {
public:
    // Reads the next bytes of the file. False once a mistake has ended the reading: the rest of
    // the file need not be read.
    bool feed(std::string_view bytes);
    // The end of the file: reads a last line without line end and hands the contents over.
    SystemFileContents finish();

private:
    bool endLine();
    bool readLine(std::string_view line);
    bool fail(int64_t lineNumber, const std::string& mistake);

    SystemFileContents contents_;
    std::string line_;
    int64_t linesEnded_ = 0;
    bool afterCarriageReturn_ = false;
    bool failed_ = false;
    std::optional<bool> rowNumbers_;  // known from the first combination line on
};

SystemFileContents parseSystemFileText(std::string_view text);

// Reads a system file from `readSome`, which fills up to `size` bytes of `buffer` and returns how
// many it filled, 0 at the end and a negative number when the bytes cannot be read.
SystemFileContents readSystemFileFrom(const std::function<int64_t(char* buffer, size_t size)>& readSome);

// The file read and parsed as a stream; an unreadable file gives an error naming it and the reason.
SystemFileContents readSystemFile(const std::filesystem::path& path);

// Why the file cannot be opened for reading ("cannot read <name>: <reason>"), or "" when it can.
// Its content is not read.
std::string systemFileOpenProblem(const std::filesystem::path& path);

// The combination as a mask (bit v for number v).
uint64_t combinationMask(const SystemFileCombination& combination);

}  // namespace quillstep

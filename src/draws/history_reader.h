#pragma once
// Reading a history file: one draw per line, seven distinct numbers of 1..39, optionally a date
// first (YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY) and up to three further numbers after the seventh,
// kept apart as bonus numbers. Separators, quotes, line ends and header lines as a system file
// takes them. Draws with dates are ordered by date; without dates the file's order is taken as
// oldest first.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/text_lines.h"
#include "draws/history.h"

namespace quillstep {

struct HistoryReading {
    History history;
    int64_t errorLine = 0;  // the line of the first mistake; 0 when none, or the mistake is not of one line
    // Empty when every line was read and the file holds at least one draw; else the fault without
    // the file's name ("line 2: number 40 is outside 1 to 39", "the file is empty"), or with
    // `unreadable` the system's reason why the file could not be read ("no such file").
    std::string error;
    bool unreadable = false;
    bool ok() const { return error.empty(); }
};

// A history file has at most this many lines (blank and header lines count), each of at most
// HISTORY_LINE_LENGTH_LIMIT bytes, so that reading takes bounded time whatever the file holds.
constexpr int64_t HISTORY_LINE_LIMIT = 2 * HISTORY_DRAW_LIMIT;
constexpr size_t HISTORY_LINE_LENGTH_LIMIT = 1000;

// The rules, line by line (lines, their ends, encodings, separators, quotes and numbers as the
// system-file reader takes them: files/text_lines):
// - blank lines are skipped anywhere;
// - header lines come only before the first draw: lines without a digit that may be a number
//   ("Date;N1;N2;...", "# draws of last year"); a line with one is a draw or a mistake;
// - a draw line holds a date (in every draw line of the file or in none), seven distinct numbers
//   of 1..39 in any order, then at most three bonus numbers of 1..39, distinct and not among the
//   seven.
// The first line that breaks a rule ends the reading: the error names it by its own number.
class HistoryParser : public LineByLineParser<HistoryParser, HistoryReading> {
public:
    HistoryParser();
    // The end of the file: reads a last line without line end, orders the draws and hands them
    // over; a file without a draw is refused.
    HistoryReading finish();
    // What a file whose bytes could not be read gives.
    static HistoryReading unreadable();

private:
    friend LineByLineParser;
    bool readLine(int64_t lineNumber, std::string_view line);
    void dropWhatWasRead();
};

HistoryReading parseHistoryText(std::string_view text);

// Reads from `readSome`, which fills up to `size` bytes of `buffer` and returns how many it
// filled, 0 at the end and a negative number when the bytes cannot be read.
HistoryReading readHistoryFrom(const std::function<int64_t(char* buffer, size_t size)>& readSome);

// The file read and parsed as a stream.
HistoryReading readHistoryFile(const std::filesystem::path& path);

// One draw typed by the user, read by the rules of a line of a history file (seven numbers, a date
// and bonus numbers allowed); nothing with `error` set to the fault when it is no draw.
std::optional<PastDraw> readOneDraw(std::string_view text, std::string& error);

// The error as the command line says it: "cannot read <name>: <reason>" or "<name>: <fault>".
std::string historyErrorMessage(const std::filesystem::path& path, const HistoryReading& reading);

}  // namespace quillstep

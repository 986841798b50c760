// Reads a history file as a stream of bytes, line by line (the lines and fields from
// files/text_lines, as the system-file reader takes them), keeping the draws read so far; the
// first malformed line ends the reading with its number and what is wrong, so that a file is either
// taken whole or not at all.

#include "draws/history_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "files/escaped_text.h"
#include "files/system_file_reader.h"
#include "files/text_lines.h"

namespace quillstep {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits and exactly two date separators of one kind ('-', '.' or '/'): what a date is written as.
bool looksLikeDate(std::string_view field) {
    int separators = 0;
    char kind = 0;
    for (const char c : field) {
        if (isDigit(c)) continue;
        if (c != '-' && c != '.' && c != '/') return false;
        if (kind != 0 && c != kind) return false;
        kind = c;
        ++separators;
    }
    return separators == 2 && isDigit(field.front()) && isDigit(field.back());
}

std::optional<int32_t> digitsValue(std::string_view digits, size_t least, size_t most) {
    if (digits.size() < least || digits.size() > most) return std::nullopt;
    int32_t value = 0;
    for (const char c : digits) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool isLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t daysInMonth(int32_t year, int32_t month) {
    constexpr int32_t DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : DAYS[month - 1];
}

// YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY (day and month of one or two digits) naming a day that
// exists; nothing otherwise.
std::optional<DrawDate> readDate(std::string_view field) {
    if (!looksLikeDate(field)) return std::nullopt;
    const char separator = field[field.find_first_not_of("0123456789")];
    const size_t first = field.find(separator), second = field.find(separator, first + 1);
    const std::string_view a = field.substr(0, first), b = field.substr(first + 1, second - first - 1),
                           c = field.substr(second + 1);
    std::optional<int32_t> year, month, day;
    if (separator == '-') {
        year = digitsValue(a, 4, 4), month = digitsValue(b, 1, 2), day = digitsValue(c, 1, 2);
    } else {
        day = digitsValue(a, 1, 2), month = digitsValue(b, 1, 2), year = digitsValue(c, 4, 4);
    }
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > daysInMonth(*year, *month))
        return std::nullopt;
    return DrawDate{*year, *month, *day};
}

std::string numberCountText(size_t count) { return std::to_string(count) + (count == 1 ? " number" : " numbers"); }

}  // namespace

HistoryParser::HistoryParser() : LineByLineParser({HISTORY_LINE_LIMIT, HISTORY_LINE_LENGTH_LIMIT, "a history file"}) {}

void HistoryParser::dropWhatWasRead() { reading_.history.draws.clear(); }

HistoryReading HistoryParser::unreadable() {
    HistoryReading reading;
    reading.error = "the file could not be read";
    reading.unreadable = true;
    return reading;
}

HistoryReading HistoryParser::finish() {
    finishLines();
    if (!reading_.ok()) return std::move(reading_);
    std::vector<PastDraw>& draws = reading_.history.draws;
    if (draws.empty()) {
        reading_.error = sawBytes_ ? "the file holds no draw (one draw per line: seven numbers 1 to 39)"
                                   : "the file is empty";
        return std::move(reading_);
    }
    reading_.history.dated = draws.front().date.known();
    if (reading_.history.dated)
        std::stable_sort(draws.begin(), draws.end(), [](const PastDraw& x, const PastDraw& y) { return x.date < y.date; });
    return std::move(reading_);
}

bool HistoryParser::readLine(int64_t lineNumber, std::string_view line) {
    std::vector<PastDraw>& draws = reading_.history.draws;
    if (!holdsNumberDigit(line)) {
        if (!draws.empty()) return fail(lineNumber, "a header line after the first draw");
        return true;
    }
    if (static_cast<int64_t>(draws.size()) >= HISTORY_DRAW_LIMIT)
        return fail(lineNumber, "a history file holds at most " + std::to_string(HISTORY_DRAW_LIMIT) + " draws");
    const TextFields split = splitTextFields(line);
    if (!split.ambiguity.empty()) return fail(lineNumber, split.ambiguity);
    const std::vector<TextField>& fields = split.fields;
    PastDraw draw;
    draw.line = lineNumber;
    size_t next = 0;
    if (!fields.empty() && looksLikeDate(fields[0].text)) {
        const auto date = readDate(fields[0].text);
        if (!date)
            return fail(lineNumber, quotedField(fields[0].text) +
                                        " is not a date (YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY of a day that exists)");
        draw.date = *date;
        next = 1;
    }
    if (!draws.empty() && draws.front().date.known() != draw.date.known())
        return fail(lineNumber, draw.date.known() ? "a date first, which the draws before do not have"
                                                  : "no date first, as the draws before have");
    const size_t numbers = fields.size() - next;
    if (numbers < NUMBERS_PER_COMBINATION)
        return fail(lineNumber, "expected seven numbers" + std::string(next ? " after the date" : "") + ", found " +
                                    numberCountText(numbers));
    if (numbers > NUMBERS_PER_COMBINATION + MOST_BONUS_NUMBERS)
        return fail(lineNumber, "expected seven numbers and at most three bonus numbers, found " +
                                    numberCountText(numbers));
    uint64_t seen = 0;
    for (size_t k = 0; k < numbers; ++k) {
        const TextField& field = fields[next + k];
        int64_t value = 0;
        const NumberReading reading = readWholeNumber(field.text, value);
        if (reading != NumberReading::Whole) return fail(lineNumber, numberFieldMistake(field, reading, "number "));
        const bool bonus = k >= NUMBERS_PER_COMBINATION;
        const std::string what = bonus ? "bonus number " : "number ";
        if (value < 1 || value > HIGHEST_NUMBER)
            return fail(lineNumber, what + std::to_string(value) + " is outside 1 to " +
                                        std::to_string(HIGHEST_NUMBER));
        const uint64_t bit = uint64_t{1} << value;
        if (seen & bit) {
            if (bonus && (draw.mask & bit))
                return fail(lineNumber, what + std::to_string(value) + " is one of the seven numbers");
            return fail(lineNumber, what + std::to_string(value) + " appears twice");
        }
        seen |= bit;
        if (bonus) {
            draw.bonus[static_cast<size_t>(draw.bonusCount++)] = static_cast<int32_t>(value);
        } else {
            draw.numbers[k] = static_cast<int32_t>(value);
            draw.mask |= bit;
        }
    }
    std::sort(draw.numbers.begin(), draw.numbers.end());
    draws.push_back(draw);
    return true;
}

HistoryReading parseHistoryText(std::string_view text) { return parseWholeText<HistoryParser>(text); }

HistoryReading readHistoryFrom(const std::function<int64_t(char* buffer, size_t size)>& readSome) {
    return parseTextChunks<HistoryParser>(readSome);
}

HistoryReading readHistoryFile(const std::filesystem::path& path) {
    HistoryReading reading;
    // The same checks before opening as for a system file: a regular file that opens.
    if (const std::string problem = systemFileOpenProblem(path); !problem.empty()) {
        const std::string named = "cannot read " + escapedText(path.string()) + ": ";
        reading.error = problem.starts_with(named) ? problem.substr(named.size()) : problem;
        reading.unreadable = true;
        return reading;
    }
    std::ifstream file(path, std::ios::binary);
    bool readError = !file.is_open();
    if (!readError)
        reading = readHistoryFrom([&](char* buffer, size_t size) -> int64_t {
            file.read(buffer, static_cast<std::streamsize>(size));
            if (file.bad()) {
                readError = true;
                return -1;
            }
            return static_cast<int64_t>(file.gcount());
        });
    return readError ? HistoryParser::unreadable() : reading;
}

std::optional<PastDraw> readOneDraw(std::string_view text, std::string& error) {
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        error = "one draw on one line";
        return std::nullopt;
    }
    HistoryReading reading = parseHistoryText(text);
    if (reading.ok() && reading.history.draws.size() == 1) return reading.history.draws.front();
    const std::string lineOne = "line 1: ";
    error = reading.ok() || reading.errorLine == 0 ? std::string("seven numbers 1 to 39 are needed")
                                                   : reading.error.substr(lineOne.size());
    return std::nullopt;
}

std::string historyErrorMessage(const std::filesystem::path& path, const HistoryReading& reading) {
    return (reading.unreadable ? "cannot read " : "") + escapedText(path.string()) + ": " + reading.error;
}

}  // namespace quillstep

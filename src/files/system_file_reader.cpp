// Reads a system file as a stream of bytes, line by line (the lines from files/text_lines),
// keeping one line and the combinations read so far; the first malformed line ends the reading with its line number and what is wrong,
// so that a file is either taken whole or not at all.

#include "files/system_file_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <memory>
#include <system_error>

#include "files/escaped_text.h"

namespace quillstep {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A header line of this program's form: text in double quotes, with no other double quote.
bool isOwnHeaderLine(std::string_view line) {
    return line.size() >= 2 && line.front() == '"' && line.back() == '"' &&
           line.substr(1, line.size() - 2).find('"') == std::string_view::npos;
}

// This program's own combination line: digits and commas only, as in "12,1,5,9,17,22,30,39".
bool hasOwnRowForm(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return isDigit(c) || c == ','; });
}

std::string fieldCountText(size_t count) { return std::to_string(count) + (count == 1 ? " field" : " fields"); }

std::string separatorText(char separator) {
    if (separator == 0) return "commas, semicolons, blanks or tabs";
    std::string mark = "' '";
    mark[1] = separator;
    return mark;
}

}  // namespace

uint64_t combinationMask(const SystemFileCombination& combination) {
    uint64_t mask = 0;
    for (int32_t v : combination) mask |= uint64_t{1} << v;
    return mask;
}

SystemFileParser::SystemFileParser()
    : LineByLineParser({SYSTEM_FILE_LINE_LIMIT, SYSTEM_FILE_LINE_LENGTH_LIMIT, "a system file"}) {}

void SystemFileParser::dropWhatWasRead() {
    reading_.combinations.clear();
    reading_.lines.clear();
}

SystemFileContents SystemFileParser::unreadable() {
    SystemFileContents contents;
    contents.error = "the file could not be read";
    return contents;
}

SystemFileContents SystemFileParser::finish() {
    finishLines();
    return std::move(reading_);
}

bool SystemFileParser::readLine(int64_t lineNumber, std::string_view line) {
    // No text holds a NUL byte; UTF-16 read as bytes holds one in every ASCII character, so that
    // its header of words would otherwise pass and its numbers read as garbled fields.
    if (line.find('\0') != std::string_view::npos)
        return fail(lineNumber, "a NUL byte (UTF-16 without its byte order mark? Save the file as UTF-8, or as "
                                "UTF-16 with its byte order mark)");
    if (isOwnHeaderLine(line)) {
        if (!reading_.combinations.empty()) return fail(lineNumber, "a header line after the first combination");
        const TextFields inner = splitTextFields(line.substr(1, line.size() - 2));
        if (allWholeNumbers(inner.fields))
            return fail(lineNumber, inner.fields.size() == 7 || inner.fields.size() == 8
                                        ? "a combination in one pair of quotes (quote each number, or none)"
                                        : "numbers in one pair of quotes (quote each number, or none)");
        return true;
    }
    if (!holdsNumberDigit(line)) {
        if (!reading_.combinations.empty()) return fail(lineNumber, "a header line after the first combination");
        return true;
    }

    const TextFields split = splitTextFields(line);
    if (!split.ambiguity.empty()) return fail(lineNumber, split.ambiguity);
    const std::vector<TextField>& fields = split.fields;
    if (fields.size() != 7 && fields.size() != 8)
        return fail(lineNumber, "expected seven numbers (or a row number and seven numbers), found " +
                                    fieldCountText(fields.size()));
    const bool withRow = fields.size() == 8;
    if (rowNumbers_ && *rowNumbers_ != withRow)
        return fail(lineNumber, (*rowNumbers_ ? "expected a row number and seven numbers like the lines before, found "
                                              : "expected seven numbers like the lines before, found ") +
                                    fieldCountText(fields.size()));
    if (rowNumbers_ && separator_ != split.separator)
        return fail(lineNumber, "numbers separated by " + separatorText(split.separator) +
                                    " where the lines before separate them by " + separatorText(separator_));
    std::array<int64_t, 8> values{};
    for (size_t k = 0; k < fields.size(); ++k) {
        const TextField& field = fields[k];
        const NumberReading reading = readWholeNumber(field.text, values[k]);
        if (reading != NumberReading::Whole)
            return fail(lineNumber, numberFieldMistake(field, reading, withRow && k == 0 ? "row number " : "number "));
    }
    if (withRow) {
        if (!hasOwnRowForm(line))
            return fail(lineNumber, "8 fields: a row number is read only in this program's form row,a,b,c,d,e,f,g "
                                    "(digits and commas, no blanks or quotes)");
        const int64_t expectedRow = static_cast<int64_t>(reading_.combinations.size()) + 1;
        if (values[0] < 1) return fail(lineNumber, "row number " + std::to_string(values[0]) + " is below 1");
        if (values[0] != expectedRow)
            return fail(lineNumber, "row number " + std::to_string(values[0]) + " where " +
                                        std::to_string(expectedRow) + " was expected (rows count 1, 2, 3, ...)");
    }
    const size_t first = withRow ? 1 : 0;
    SystemFileCombination combination{};
    uint64_t seen = 0;
    for (size_t k = 0; k < NUMBERS_PER_COMBINATION; ++k) {
        const int64_t value = values[first + k];
        if (value < 1 || value > HIGHEST_NUMBER)
            return fail(lineNumber, "number " + std::to_string(value) + " is outside 1 to " +
                                        std::to_string(HIGHEST_NUMBER));
        if (seen & (uint64_t{1} << value)) return fail(lineNumber, "number " + std::to_string(value) + " appears twice");
        seen |= uint64_t{1} << value;
        combination[k] = static_cast<int32_t>(value);
    }
    std::sort(combination.begin(), combination.end());
    if (!rowNumbers_) {
        rowNumbers_ = withRow;
        separator_ = split.separator;
    }
    reading_.combinations.push_back(combination);
    reading_.lines.push_back(lineNumber);
    return true;
}

SystemFileContents parseSystemFileText(std::string_view text) { return parseWholeText<SystemFileParser>(text); }

SystemFileContents readSystemFileFrom(const std::function<int64_t(char* buffer, size_t size)>& readSome) {
    return parseTextChunks<SystemFileParser>(readSome);
}

namespace {

std::string cannotRead(const std::filesystem::path& path, const std::string& reason) {
    return "cannot read " + escapedText(path.string()) + ": " + reason;
}

std::string reasonOf(int code) { return code == ENOENT ? "no such file" : std::generic_category().message(code); }

// The file opened for reading, or nothing with `error` set. Only a regular file is opened, so that
// a pipe or a device neither blocks nor streams without end. (A stream, not fopen, so that any
// name the path holds opens on Windows too; its failure leaves the system's reason in errno.)
std::unique_ptr<std::ifstream> openSystemFile(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec) {
        error = cannotRead(path, reasonOf(ec.value()));
        return nullptr;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = cannotRead(path, "not a regular file");
        return nullptr;
    }
    errno = 0;
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!file->is_open()) {
        error = cannotRead(path, errno != 0 ? reasonOf(errno) : "cannot open it");
        return nullptr;
    }
    return file;
}

}  // namespace

SystemFileContents readSystemFile(const std::filesystem::path& path, EmptySystemFile empty) {
    SystemFileContents contents;
    const std::unique_ptr<std::ifstream> file = openSystemFile(path, contents.error);
    if (!file) return contents;
    int readError = 0;
    contents = readSystemFileFrom([&](char* buffer, size_t size) -> int64_t {
        errno = 0;
        file->read(buffer, static_cast<std::streamsize>(size));
        if (file->bad()) {
            readError = errno != 0 ? errno : EIO;
            return -1;
        }
        return static_cast<int64_t>(file->gcount());
    });
    if (readError != 0) contents.error = cannotRead(path, reasonOf(readError));
    else if (!contents.ok()) contents.error = escapedText(path.string()) + ": " + contents.error;
    else if (contents.combinations.empty() && empty == EmptySystemFile::Refused) {
        contents.error = escapedText(path.string()) + ": " + NO_COMBINATION_TEXT;
        contents.withoutCombination = true;
    }
    return contents;
}

std::string systemFileOpenProblem(const std::filesystem::path& path) {
    std::string error;
    openSystemFile(path, error);
    return error;
}

}  // namespace quillstep

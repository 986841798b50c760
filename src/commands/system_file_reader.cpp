// Reads a system file line by line; the first malformed line ends the reading with its line
// number and what is wrong, so that a file is either taken whole or not at all.

#include "commands/system_file_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace quillstep {
namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

bool isComma(char c) { return c == ',' || c == ';'; }  // other programs separate fields by semicolons
bool isSeparator(char c) { return isComma(c) || c == ' ' || c == '\t'; }
// A line of words before the first combination ("N1;N2;...", "# numbers") is another program's header.
bool beginsAsHeader(char c) { return c == '"' || c == '#' || std::isalpha(static_cast<unsigned char>(c)); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The fields of a combination line, split at commas and blanks. A comma with nothing before it
// (",1,2" or "1,,2") leaves an empty field, which the caller reports.
std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    bool expectField = false;  // a comma was seen since the last field
    while (i < line.size()) {
        if (isComma(line[i])) {
            if (expectField || fields.empty()) fields.emplace_back();
            expectField = true;
            ++i;
        } else if (isBlank(line[i])) {
            ++i;
        } else {
            const size_t start = i;
            while (i < line.size() && !isSeparator(line[i]) && line[i] != '\r') ++i;
            fields.push_back(line.substr(start, i - start));
            expectField = false;
        }
    }
    if (expectField) fields.emplace_back();
    return fields;
}

std::optional<int64_t> wholeNumber(std::string_view field) {
    int64_t value = 0;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (field.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::string quoted(std::string_view field) {
    std::string text(1, '\'');
    text.append(field.substr(0, 20));
    text.push_back('\'');
    return text;
}

// One combination line; returns the mistake, or an empty text. The lines of a file keep one form:
// `rowNumbers` is unknown (nullopt) until the first combination line, which sets it. So a row that
// lost a number is not read as seven plain numbers.
std::string parseCombinationLine(std::string_view line, std::optional<bool>& rowNumbers,
                                 SystemFileCombination& combination) {
    const std::vector<std::string_view> fields = splitFields(line);
    if (fields.size() != 7 && fields.size() != 8)
        return "expected seven numbers (or a row number and seven numbers), found " + std::to_string(fields.size()) +
               (fields.size() == 1 ? " field" : " fields");
    if (rowNumbers && *rowNumbers != (fields.size() == 8))
        return *rowNumbers ? "expected a row number and seven numbers like the lines before, found 7 fields"
                           : "expected seven numbers like the lines before, found 8 fields";
    for (std::string_view field : fields)
        if (!wholeNumber(field))
            return field.empty() ? std::string("empty field") : quoted(field) + " is not a whole number";
    const size_t first = fields.size() - 7;
    if (first == 1 && *wholeNumber(fields[0]) < 1) return "row number " + std::string(fields[0]) + " is below 1";
    uint64_t seen = 0;
    for (size_t k = 0; k < 7; ++k) {
        const int64_t value = *wholeNumber(fields[first + k]);
        if (value < 1 || value > HIGHEST_SYSTEM_FILE_NUMBER)
            return "number " + std::to_string(value) + " is outside 1 to " +
                   std::to_string(HIGHEST_SYSTEM_FILE_NUMBER);
        if (seen & (uint64_t{1} << value)) return "number " + std::to_string(value) + " appears twice";
        seen |= uint64_t{1} << value;
        combination[k] = static_cast<int32_t>(value);
    }
    std::sort(combination.begin(), combination.end());
    rowNumbers = fields.size() == 8;
    return {};
}

}  // namespace

uint64_t combinationMask(const SystemFileCombination& combination) {
    uint64_t mask = 0;
    for (int32_t v : combination) mask |= uint64_t{1} << v;
    return mask;
}

SystemFileContents parseSystemFileText(std::string_view text) {
    SystemFileContents contents;
    if (text.starts_with(BYTE_ORDER_MARK)) text.remove_prefix(BYTE_ORDER_MARK.size());
    int64_t lineNumber = 0;
    std::optional<bool> rowNumbers;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
        while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
        if (line.empty()) continue;

        std::string mistake;
        if (beginsAsHeader(line.front())) {
            if (contents.combinations.empty()) continue;
            mistake = "a header line after the first combination";
        } else {
            SystemFileCombination combination{};
            mistake = parseCombinationLine(line, rowNumbers, combination);
            if (mistake.empty()) contents.combinations.push_back(combination);
        }
        if (!mistake.empty()) {
            contents.errorLine = lineNumber;
            contents.error = "line " + std::to_string(lineNumber) + ": " + mistake;
            contents.combinations.clear();
            return contents;
        }
    }
    return contents;
}

SystemFileContents readSystemFile(const std::filesystem::path& path) {
    SystemFileContents contents;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        contents.error = "cannot read " + path.string() +
                         (std::filesystem::exists(path, ec) ? ": not a regular file" : ": no such file");
        return contents;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in || in.bad()) {
        contents.error = "cannot read " + path.string();
        return contents;
    }
    contents = parseSystemFileText(text);
    if (!contents.ok()) contents.error = path.string() + ": " + contents.error;
    return contents;
}

}  // namespace quillstep

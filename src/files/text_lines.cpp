// Bytes into lines (with their encodings, ends and limits) and lines into fields of numbers.

#include "files/text_lines.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <system_error>
#include <utility>

#include "files/escaped_text.h"

namespace quillstep {
namespace {

constexpr std::string_view UTF8_BYTE_ORDER_MARK = "\xEF\xBB\xBF";
constexpr std::string_view UTF16_LE_BYTE_ORDER_MARK = "\xFF\xFE";
constexpr std::string_view UTF16_BE_BYTE_ORDER_MARK = "\xFE\xFF";
constexpr std::string_view PUNCTUATION_SEPARATORS = "-|/:.";

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isComma(char c) { return c == ',' || c == ';'; }  // other programs separate fields by semicolons
bool isPlainSeparator(char c) { return isComma(c) || isBlank(c); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isQuote(char c) { return c == '"' || c == '\''; }

void appendUtf8(std::string& text, uint32_t codePoint) {
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// The ASCII character a three-byte UTF-8 sequence at `at` stands for (a full-width form, or the
// ideographic space as a blank), or 0.
char asciiFormAt(std::string_view text, size_t at) {
    if (at + 3 > text.size()) return 0;
    const auto b0 = static_cast<unsigned char>(text[at]);
    const auto b1 = static_cast<unsigned char>(text[at + 1]);
    const auto b2 = static_cast<unsigned char>(text[at + 2]);
    if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) return ' ';  // U+3000
    if (b0 != 0xEF || (b2 & 0xC0) != 0x80) return 0;
    // U+FF01..U+FF3F are EF BC 81..BF, U+FF40..U+FF5E are EF BD 80..9E.
    if (b1 == 0xBC && b2 >= 0x81) return static_cast<char>(0x21 + (b2 - 0x81));
    if (b1 == 0xBD && b2 <= 0x9E) return static_cast<char>(0x60 + (b2 - 0x80));
    return 0;
}

// The fields of `line` split at `isSeparator`: blanks around a field do not count, and a comma, a
// semicolon or a punctuation separator ("hard" separators) with nothing before it leaves an empty
// field. A field in quotes is its text within them when the quote closes before a separator.
template <typename IsHard>
std::vector<TextField> splitAt(std::string_view line, IsHard isHard) {
    const auto isSeparator = [&](char c) { return isBlank(c) || isHard(c); };
    std::vector<TextField> fields;
    size_t i = 0;
    bool expectField = false;  // a hard separator was seen since the last field
    while (i < line.size()) {
        if (isHard(line[i])) {
            if (expectField || fields.empty()) fields.emplace_back();
            expectField = true;
            ++i;
            continue;
        }
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        if (isQuote(line[i])) {
            const size_t close = line.find(line[i], i + 1);
            if (close != std::string_view::npos && (close + 1 == line.size() || isSeparator(line[close + 1]))) {
                fields.push_back({line.substr(i + 1, close - i - 1), true});
                i = close + 1;
                expectField = false;
                continue;
            }
        }
        while (i < line.size() && !isSeparator(line[i])) ++i;
        fields.push_back({line.substr(start, i - start), false});
        expectField = false;
    }
    if (expectField) fields.emplace_back();
    return fields;
}

// The punctuation separators that stand outside quoted fields of the plain split, in the order of
// PUNCTUATION_SEPARATORS.
std::string punctuationIn(const std::vector<TextField>& fields) {
    std::string marks;
    for (const char mark : PUNCTUATION_SEPARATORS)
        if (std::any_of(fields.begin(), fields.end(), [&](const TextField& f) {
                return !f.quoted && f.text.find(mark) != std::string_view::npos;
            }))
            marks += mark;
    return marks;
}

// True when the marks alone (with blanks beside them) separate the line's fields: cut at every
// mark, no piece holds a comma, semicolon, blank or tab within it, and at least two pieces hold text.
bool separatesEveryField(std::string_view line, std::string_view marks) {
    int piecesWithText = 0;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && marks.find(line[i]) == std::string_view::npos) continue;
        std::string_view piece = line.substr(start, i - start);
        while (!piece.empty() && isBlank(piece.back())) piece.remove_suffix(1);
        while (!piece.empty() && isBlank(piece.front())) piece.remove_prefix(1);
        if (std::any_of(piece.begin(), piece.end(), isPlainSeparator)) return false;
        if (!piece.empty()) ++piecesWithText;
        start = i + 1;
    }
    return piecesWithText >= 2;
}

}  // namespace

TextLineReader::TextLineReader(TextLineLimits limits, LineHandler onLine)
    : limits_(std::move(limits)), onLine_(std::move(onLine)) {}

void TextLineReader::failAt(int64_t line, std::string mistake) {
    fault_ = TextLineFault{line, std::move(mistake)};
    ended_ = true;
    line_.clear();
}

bool TextLineReader::feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (ended_) return false;
        switch (encoding_) {
            case Encoding::Unknown: {
                start_ += c;
                const std::string_view start = start_;
                if (start == UTF16_LE_BYTE_ORDER_MARK) {
                    encoding_ = Encoding::Utf16Le;
                } else if (start == UTF16_BE_BYTE_ORDER_MARK) {
                    encoding_ = Encoding::Utf16Be;
                } else if (start == UTF8_BYTE_ORDER_MARK) {
                    encoding_ = Encoding::Utf8;
                } else if (!UTF8_BYTE_ORDER_MARK.starts_with(start) && !UTF16_LE_BYTE_ORDER_MARK.starts_with(start) &&
                           !UTF16_BE_BYTE_ORDER_MARK.starts_with(start)) {
                    encoding_ = Encoding::Utf8;
                    for (const char b : start) takeUtf8Byte(b);
                }
                if (encoding_ != Encoding::Unknown) start_.clear();
                break;
            }
            case Encoding::Utf8:
                takeUtf8Byte(c);
                break;
            case Encoding::Utf16Le:
            case Encoding::Utf16Be:
                takeUtf16Byte(static_cast<unsigned char>(c));
                break;
        }
    }
    return !ended_;
}

bool TextLineReader::finish() {
    if (ended_) return false;
    if (encoding_ == Encoding::Unknown) {  // a file shorter than any byte order mark
        encoding_ = Encoding::Utf8;
        for (const char b : std::string(start_)) takeUtf8Byte(b);
        start_.clear();
    }
    if (!ended_ && (utf16Bytes_ != 0 || highSurrogate_ != 0))
        failAt(linesEnded_ + 1, "not UTF-16 (the file ends inside a character)");
    if (!ended_ && !line_.empty()) endLine();
    const bool read = !ended_;
    ended_ = true;
    return read;
}

void TextLineReader::takeUtf16Byte(unsigned char c) {
    if (utf16Bytes_ == 0) {
        utf16Unit_ = c;
        utf16Bytes_ = 1;
        return;
    }
    utf16Bytes_ = 0;
    const uint32_t unit = encoding_ == Encoding::Utf16Le ? (utf16Unit_ | (uint32_t{c} << 8)) : ((utf16Unit_ << 8) | c);
    if (highSurrogate_ != 0) {
        if (unit < 0xDC00 || unit > 0xDFFF) return failAt(linesEnded_ + 1, "not UTF-16 (a lone surrogate)");
        const uint32_t codePoint = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
        highSurrogate_ = 0;
        return takeCodePoint(codePoint);
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) return failAt(linesEnded_ + 1, "not UTF-16 (a lone surrogate)");
    takeCodePoint(unit);
}

void TextLineReader::takeCodePoint(uint32_t codePoint) {
    std::string bytes;
    appendUtf8(bytes, codePoint);
    for (const char b : bytes) {
        if (ended_) return;
        takeUtf8Byte(b);
    }
}

void TextLineReader::takeUtf8Byte(char c) {
    if (ended_) return;
    if (afterCarriageReturn_) {
        afterCarriageReturn_ = false;
        if (c == '\n') return;  // CR LF ends one line
    }
    if (c == '\n' || c == '\r') {
        afterCarriageReturn_ = c == '\r';
        endLine();
    } else if (line_.size() >= limits_.lineBytes) {
        failAt(linesEnded_ + 1, "longer than " + std::to_string(limits_.lineBytes) + " characters (a line of " +
                                    limits_.fileKind + " holds at most that many)");
    } else {
        line_.push_back(c);
    }
}

void TextLineReader::endLine() {
    const int64_t lineNumber = ++linesEnded_;
    if (lineNumber > limits_.lines)
        return failAt(lineNumber, limits_.fileKind + " holds at most " + std::to_string(limits_.lines) + " lines");
    std::string_view line = line_;
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    if (!line.empty()) {
        std::string ascii = withAsciiForms(line);
        std::string_view trimmed = ascii;
        while (!trimmed.empty() && isBlank(trimmed.back())) trimmed.remove_suffix(1);
        while (!trimmed.empty() && isBlank(trimmed.front())) trimmed.remove_prefix(1);
        if (!trimmed.empty() && !onLine_(lineNumber, trimmed)) ended_ = true;
    }
    line_.clear();
}

std::string withAsciiForms(std::string_view text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (const char c = asciiFormAt(text, i)) {
            ascii += c;
            i += 3;
        } else {
            ascii += text[i++];
        }
    }
    return ascii;
}

bool holdsNumberDigit(std::string_view line) {
    const std::string ascii = withAsciiForms(line);
    for (size_t i = 0; i < ascii.size(); ++i) {
        if (!isDigit(ascii[i])) continue;
        size_t start = i;
        while (i + 1 < ascii.size() && isDigit(ascii[i + 1])) ++i;
        if (start == 0 || !isAsciiLetter(ascii[start - 1])) return true;
    }
    return false;
}

TextFields splitTextFields(std::string_view line) {
    TextFields split;
    split.fields = splitAt(line, isComma);
    if (allWholeNumbers(split.fields)) return split;
    const std::string marks = punctuationIn(split.fields);
    if (marks.size() == 1 && separatesEveryField(line, marks)) {
        split.separator = marks[0];
        split.fields = splitAt(line, [&](char c) { return c == marks[0]; });
    } else if (marks.size() > 1 && separatesEveryField(line, marks)) {
        std::string both = "numbers separated by both ' ' and ' ' (one separator for all)";
        both[27] = marks[0];
        both[35] = marks[1];
        split.ambiguity = both;
    }
    return split;
}

NumberReading readWholeNumber(std::string_view field, int64_t& value) {
    std::string ascii;
    if (field.find('\xEF') != std::string_view::npos) {
        ascii = withAsciiForms(field);
        field = ascii;
    }
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (field.empty() || ptr != end) return NumberReading::NotWhole;
    if (ec == std::errc::result_out_of_range) return NumberReading::TooLarge;
    return ec == std::errc() ? NumberReading::Whole : NumberReading::NotWhole;
}

bool allWholeNumbers(const std::vector<TextField>& fields) {
    return !fields.empty() && std::all_of(fields.begin(), fields.end(), [](const TextField& f) {
        int64_t value = 0;
        return readWholeNumber(f.text, value) == NumberReading::Whole;
    });
}

namespace {
constexpr size_t ECHOED_FIELD_BYTES = 20;
}

std::string quotedField(std::string_view field) { return "'" + escapedText(field, ECHOED_FIELD_BYTES) + "'"; }

std::string numberFieldMistake(const TextField& field, NumberReading reading, const std::string& what) {
    if (reading == NumberReading::TooLarge) return what + escapedText(field.text, ECHOED_FIELD_BYTES) + " is too large";
    if (field.text.empty() && !field.quoted) return "empty field";
    return quotedField(field.text) + " is not a whole number";
}

bool feedTextChunks(const std::function<int64_t(char* buffer, size_t size)>& readSome,
                    const std::function<bool(std::string_view bytes)>& feed) {
    constexpr size_t READ_CHUNK_BYTES = size_t{64} << 10;
    const auto buffer = std::make_unique<char[]>(READ_CHUNK_BYTES);
    for (;;) {
        const int64_t got = readSome(buffer.get(), READ_CHUNK_BYTES);
        if (got < 0) return false;
        if (got == 0 || !feed(std::string_view(buffer.get(), static_cast<size_t>(got)))) return true;
    }
}

}  // namespace quillstep

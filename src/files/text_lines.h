#pragma once
// The line-and-field layer of the program's text-file readers (system files, and any other file of
// numbers one record a line): bytes in, lines out, and a line split into fields of numbers.
//
// Lines (TextLineReader):
// - the bytes arrive in pieces of any size; lines end in LF, CR LF or CR alone (a CR LF split
//   between two pieces still ends one line);
// - a UTF-8 byte order mark at the start is skipped; a UTF-16 byte order mark (FF FE little endian,
//   FE FF big endian, as Notepad's "Unicode" saves) makes the rest be read as UTF-16 and handed on
//   as UTF-8; a lone surrogate or an odd last byte is refused as not UTF-16;
// - the full-width forms of ASCII (U+FF01..U+FF5E, digits U+FF10..U+FF19 among them) are handed on
//   as their ASCII characters and the ideographic space U+3000 as a blank, so that every later rule
//   sees one form of each digit and separator;
// - blanks and tabs at either end of a line are removed; blank lines are counted but not handed on;
// - a file of more lines than its limit, or a line longer than its limit (in UTF-8 bytes, before
//   the full-width forms are made ASCII), is refused at the first line beyond, so that reading
//   takes bounded memory and time whatever the file holds.
//
// Fields (splitTextFields): see there. Numbers (readWholeNumber) and whether a line may hold
// numbers at all (holdsNumberDigit) are the rules every reader shares, so that no line of numbers
// is ever passed over as a header.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillstep {

struct TextLineLimits {
    int64_t lines = 10000;        // lines a file may hold, blank ones included
    size_t lineBytes = 1000;      // bytes a line may hold (its end not counted)
    std::string fileKind = "a file";  // named in the refusals: "a system file holds at most ..."
};

// Why the line layer ended the reading: the 1-based line and what is wrong with it, e.g.
// {10001, "a system file holds at most 10000 lines"}.
struct TextLineFault {
    int64_t line = 0;
    std::string mistake;
};

class TextLineReader {
public:
    // Handed every line that is not blank, with its 1-based number in the file; returns false to
    // end the reading (the handler found a mistake).
    using LineHandler = std::function<bool(int64_t lineNumber, std::string_view line)>;

    TextLineReader(TextLineLimits limits, LineHandler onLine);

    // Reads the next bytes. False once the reading has ended (a fault of the line layer, or the
    // handler returned false): the rest of the file need not be read.
    bool feed(std::string_view bytes);
    // The end of the file: hands on a last line without line end. False when the reading ended.
    bool finish();

    // The fault of the line layer that ended the reading, if any (the handler's own mistakes are
    // the handler's to keep).
    const std::optional<TextLineFault>& fault() const { return fault_; }
    // Lines ended so far (blank ones included).
    int64_t linesRead() const { return linesEnded_; }

private:
    enum class Encoding { Unknown, Utf8, Utf16Le, Utf16Be };

    void takeUtf8Byte(char c);
    void takeUtf16Byte(unsigned char c);
    void takeCodePoint(uint32_t codePoint);
    void endLine();
    void failAt(int64_t line, std::string mistake);

    TextLineLimits limits_;
    LineHandler onLine_;
    Encoding encoding_ = Encoding::Unknown;
    std::string start_;  // the first bytes, until they show whether a byte order mark is there
    std::string line_;
    int64_t linesEnded_ = 0;
    bool afterCarriageReturn_ = false;
    bool ended_ = false;
    std::optional<TextLineFault> fault_;
    int utf16Bytes_ = 0;            // bytes of the current UTF-16 code unit seen (0 or 1)
    uint32_t utf16Unit_ = 0;
    uint32_t highSurrogate_ = 0;    // a high surrogate waiting for its low one, or 0
};

// The text with the full-width forms of ASCII (U+FF01..U+FF5E) written as ASCII and the ideographic
// space U+3000 as a blank; everything else as it is.
std::string withAsciiForms(std::string_view text);

// True when the line holds a digit that may be (part of) a number: any digit (ASCII or full-width)
// except those directly after an ASCII letter, as in column captions such as "N1" or "Ball7". A line
// for which this is true is never a line of words (a header): it is a record or a mistake.
bool holdsNumberDigit(std::string_view line);

struct TextField {
    std::string_view text;  // without its quotes
    bool quoted = false;    // it stood in double or single quotes
};

struct TextFields {
    std::vector<TextField> fields;  // views into the line handed to splitTextFields
    // What separates the fields: 0 for commas, semicolons, blanks and tabs; otherwise the one mark of
    // '-', '|', '/', ':', '.' that separates every two numbers of the line ("1-2-3", "1 | 2 | 3").
    char separator = 0;
    // Not empty when the line separates its numbers by more than one of those marks ("1-2/3"): the
    // fields are then split at commas, semicolons, blanks and tabs only.
    std::string ambiguity;
};

// The fields of a line (with ASCII forms, as TextLineReader hands it on):
// - split at commas, semicolons, blanks and tabs, a field in double or single quotes being its text
//   within them; a quote that does not close, or text after a closing quote, makes the field run to
//   the next separator quotes and all (it then is no whole number); a comma or semicolon with
//   nothing before it (",1,2" or "1,,2") leaves an empty field;
// - when that does not give whole numbers only, and one mark of '-', '|', '/', ':', '.' separates
//   fields that hold no comma, semicolon, blank or tab (blanks beside the mark allowed), the line is
//   split at that mark instead: "1-2-3-4-5-6-7", "'1'|'2'|'3'", "01 . 02 . 03". So "1 2 3 -7" keeps
//   its minus sign, "7.0" among blank-separated fields stays one field, and a date "2024-05-01"
//   before blank-separated numbers stays one field.
TextFields splitTextFields(std::string_view line);

enum class NumberReading { Whole, NotWhole, TooLarge };

// Reads a field as a whole number: ASCII or full-width digits with an optional leading '-'.
NumberReading readWholeNumber(std::string_view field, int64_t& value);

// True when every field is a whole number (and there is at least one).
bool allWholeNumbers(const std::vector<TextField>& fields);

// The field in single quotes, escaped and cut as messages echo it.
std::string quotedField(std::string_view field);

// Why a field that readWholeNumber did not read as whole is refused, for a line's message: "empty
// field", "'x7' is not a whole number", or `what` and the field then "is too large" ("number 4000000
// is too large"); the field escaped and cut as messages echo it.
std::string numberFieldMistake(const TextField& field, NumberReading reading, const std::string& what);

// Hands the bytes `readSome` gives (up to `size` into `buffer`; 0 at the end, negative when they
// cannot be read) to `feed` in chunks, until the end or until `feed` returns false. False when the
// bytes could not be read.
bool feedTextChunks(const std::function<int64_t(char* buffer, size_t size)>& readSome,
                    const std::function<bool(std::string_view bytes)>& feed);

// What a file reader (a Parser with feed(bytes) and finish(), as SystemFileParser and
// HistoryParser) makes of a whole text at once.
template <class Parser>
auto parseWholeText(std::string_view text) {
    Parser parser;
    parser.feed(text);
    return parser.finish();
}

// What a file reader makes of the bytes `readSome` gives (as for feedTextChunks); its
// Parser::unreadable() when the bytes could not be read.
template <class Parser>
auto parseTextChunks(const std::function<int64_t(char* buffer, size_t size)>& readSome) {
    Parser parser;
    if (!feedTextChunks(readSome, [&parser](std::string_view bytes) { return parser.feed(bytes); }))
        return Parser::unreadable();
    return parser.finish();
}

// The frame of a reader that parses a file line by line (the system files, the past draws): the
// bytes go through a TextLineReader, whose lines come to Derived::readLine; the first mistake,
// Derived's or the line layer's, ends the reading and is kept in the Reading (its `error`,
// "line N: <mistake>", and its `errorLine`), and Derived::dropWhatWasRead empties what was read.
template <typename Derived, typename Reading>
class LineByLineParser {
public:
    LineByLineParser(const LineByLineParser&) = delete;  // its line reader calls back into it
    LineByLineParser& operator=(const LineByLineParser&) = delete;

    // Reads the next bytes of the file. False once a mistake has ended the reading: the rest of
    // the file need not be read.
    bool feed(std::string_view bytes) {
        if (!bytes.empty()) sawBytes_ = true;
        if (lines_.feed(bytes)) return true;
        takeLineFault();
        return false;
    }

protected:
    explicit LineByLineParser(TextLineLimits limits)
        : lines_(limits, [this](int64_t lineNumber, std::string_view line) {
              return static_cast<Derived*>(this)->readLine(lineNumber, line);
          }) {}

    bool fail(int64_t lineNumber, const std::string& mistake) {
        reading_.errorLine = lineNumber;
        reading_.error = "line " + std::to_string(lineNumber) + ": " + mistake;
        static_cast<Derived*>(this)->dropWhatWasRead();
        return false;
    }
    // Reads a last line without line end; its mistake, or the line layer's, ends the reading.
    void finishLines() {
        if (!lines_.finish()) takeLineFault();
    }

    Reading reading_;
    bool sawBytes_ = false;  // the file held at least one byte

private:
    void takeLineFault() {
        if (lines_.fault() && reading_.ok()) fail(lines_.fault()->line, lines_.fault()->mistake);
    }

    TextLineReader lines_;
};

}  // namespace quillstep

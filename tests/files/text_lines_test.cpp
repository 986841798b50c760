// The line-and-field layer: line ends, byte order marks and UTF-16, full-width forms, limits, the
// fields of a line with its separators and quotes, whole numbers, and which lines may hold numbers.

#include "files/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quillstep {
namespace {

using Lines = std::vector<std::pair<int64_t, std::string>>;

struct Reading {
    Lines lines;
    std::optional<TextLineFault> fault;
    bool finished = false;
};

// Reads `bytes` in pieces of `piece` bytes, keeping every line handed on.
Reading readLines(const std::string& bytes, size_t piece = SIZE_MAX, TextLineLimits limits = {}) {
    Reading reading;
    TextLineReader reader(limits, [&](int64_t number, std::string_view line) {
        reading.lines.emplace_back(number, std::string(line));
        return true;
    });
    for (size_t at = 0; at < bytes.size(); at += piece)
        if (!reader.feed(std::string_view(bytes).substr(at, piece))) break;
    reading.finished = reader.finish();
    reading.fault = reader.fault();
    return reading;
}

// UTF-16 bytes of `units`, after the byte order mark of the order asked for.
std::string utf16(const std::u16string& units, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t u : units) {
        const char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

const Lines THREE_LINES{{1, "Header"}, {3, "1 2 3"}, {4, "x\xC3\xA9y"}};

TEST(TextLines, EveryLineEndEncodingAndPieceSizeGivesTheSameLines) {
    const std::string lf = "  Header\t\n\n1 2 3\nx\xC3\xA9y";
    std::vector<std::string> files{lf, "\xEF\xBB\xBF" + lf};
    for (const char* end : {"\r\n", "\r"}) {
        std::string other;
        for (const char c : lf) other += c == '\n' ? std::string(end) : std::string(1, c);
        files.push_back(other);
    }
    const std::u16string units = u"  Header\t\r\n\r\n1 2 3\r\nx\u00E9y\r\n";
    files.push_back(utf16(units, true));
    files.push_back(utf16(units, false));
    for (const std::string& file : files)
        for (const size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, SIZE_MAX}) {
            const Reading reading = readLines(file, piece);
            EXPECT_TRUE(reading.finished) << file;
            EXPECT_FALSE(reading.fault) << file;
            EXPECT_EQ(reading.lines, THREE_LINES) << file << " in pieces of " << piece;
        }
    // Files shorter than a byte order mark, or beginning like one, lose nothing.
    EXPECT_EQ(readLines("7").lines, (Lines{{1, "7"}}));
    EXPECT_EQ(readLines("\xEF\xBB").lines, (Lines{{1, "\xEF\xBB"}}));
    EXPECT_EQ(readLines("\xEF" "a\n", 1).lines, (Lines{{1, "\xEF" "a"}}));
    EXPECT_TRUE(readLines("").lines.empty());
    EXPECT_TRUE(readLines("\xFF\xFE").lines.empty());
}

TEST(TextLines, Utf16BeyondTheBasicPlaneAndItsFaults) {
    // A surrogate pair (U+1F600) becomes four UTF-8 bytes, in either byte order.
    for (const bool le : {true, false}) {
        const Reading reading = readLines(utf16(u"a\U0001F600b\n", le), 1);
        EXPECT_EQ(reading.lines, (Lines{{1, "a\xF0\x9F\x98\x80" "b"}}));
    }
    // A lone surrogate, and a last byte without its pair, are refused on their line.
    const Reading lone = readLines(utf16(u"1\n2", true) + std::string("\x00\xD8" "3\x00", 4));
    EXPECT_FALSE(lone.finished);
    ASSERT_TRUE(lone.fault);
    EXPECT_EQ(lone.fault->line, 2);
    EXPECT_EQ(lone.fault->mistake, "not UTF-16 (a lone surrogate)");
    EXPECT_EQ(lone.lines, (Lines{{1, "1"}}));
    const Reading odd = readLines(utf16(u"1\n2", false) + std::string(1, '\0'));
    ASSERT_TRUE(odd.fault);
    EXPECT_EQ(odd.fault->mistake, "not UTF-16 (the file ends inside a character)");
    EXPECT_EQ(readLines(utf16(u"1\n\xDC00", true)).fault->mistake, "not UTF-16 (a lone surrogate)");
}

TEST(TextLines, FullWidthFormsAreHandedOnAsAscii) {
    // "１，２\u3000３" and full-width letters; other non-ASCII text stays as it is.
    const Reading reading = readLines("\xEF\xBC\x91\xEF\xBC\x8C\xEF\xBC\x92\xE3\x80\x80\xEF\xBC\x93 \xEF\xBD\x81\xEF\xBD\x9E\xC3\xA9\n"
                                      "\xE3\x80\x80\xEF\xBC\x99\xE3\x80\x80\n");
    EXPECT_EQ(reading.lines, (Lines{{1, "1,2 3 a~\xC3\xA9"}, {2, "9"}}));
    EXPECT_EQ(withAsciiForms("\xEF\xBC\x81\xEF\xBD\x9E\xEF\xBD\x9F\xEF\xBC\x80"), "!~\xEF\xBD\x9F\xEF\xBC\x80");
}

TEST(TextLines, LimitsEndTheReadingAtTheFirstLineBeyond) {
    TextLineLimits limits;
    limits.lines = 3;
    limits.lineBytes = 5;
    limits.fileKind = "a test file";
    const Reading many = readLines("1\n\n3\n4\n5\n", SIZE_MAX, limits);
    ASSERT_TRUE(many.fault);
    EXPECT_EQ(many.fault->line, 4);
    EXPECT_EQ(many.fault->mistake, "a test file holds at most 3 lines");
    EXPECT_EQ(many.lines, (Lines{{1, "1"}, {3, "3"}}));
    EXPECT_FALSE(readLines("1\n2\n3\n", SIZE_MAX, limits).fault);

    const Reading longLine = readLines("12345\n123456\n", 2, limits);
    ASSERT_TRUE(longLine.fault);
    EXPECT_EQ(longLine.fault->line, 2);
    EXPECT_EQ(longLine.fault->mistake, "longer than 5 characters (a line of a test file holds at most that many)");
    // UTF-16 counts the bytes of the UTF-8 handed on: three two-byte letters are six.
    EXPECT_TRUE(readLines(utf16(u"\u00E9\u00E9\n", true), SIZE_MAX, limits).lines.size() == 1);
    EXPECT_TRUE(readLines(utf16(u"\u00E9\u00E9\u00E9\n", true), SIZE_MAX, limits).fault);
}

TEST(TextLines, AHandlerThatSaysStopEndsTheReading) {
    int calls = 0;
    TextLineReader reader({}, [&](int64_t, std::string_view) { return ++calls < 2; });
    EXPECT_TRUE(reader.feed("a\n"));
    EXPECT_FALSE(reader.feed("b\nc\nd\n"));
    EXPECT_FALSE(reader.finish());
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(reader.fault());
}

TEST(TextFields, SplitsAtEachFormOfSeparator) {
    struct Case {
        std::string line;
        char separator;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases{
        {"1,2;3 4\t5", 0, {"1", "2", "3", "4", "5"}},
        {"\"1\" '2','3'", 0, {"1", "2", "3"}},
        {"1-2-3", '-', {"1", "2", "3"}},
        {"01 | 02 | 03", '|', {"01", "02", "03"}},
        {"'1'/'2'/'3'", '/', {"1", "2", "3"}},
        {"1:2:3", ':', {"1", "2", "3"}},
        {"1.2.3.", '.', {"1", "2", "3", ""}},
        {"1-2-x", '-', {"1", "2", "x"}},
        // a minus sign, a decimal point, a date or a caption among plain fields stays in its field
        {"1 2 -3", 0, {"1", "2", "-3"}},
        {"1 2 7.0", 0, {"1", "2", "7.0"}},
        {"2024-05-01 1 2", 0, {"2024-05-01", "1", "2"}},
        {"FULL SYSTEM 7/ 10", 0, {"FULL", "SYSTEM", "7/", "10"}},
        {"1,2,3-4", 0, {"1", "2", "3-4"}},
        {"Mike's 1", 0, {"Mike's", "1"}},
        {",1,,2,", 0, {"", "1", "", "2", ""}},
    };
    for (const Case& c : cases) {
        const TextFields split = splitTextFields(c.line);
        std::vector<std::string> texts;
        for (const TextField& f : split.fields) texts.emplace_back(f.text);
        EXPECT_EQ(split.separator, c.separator) << c.line;
        EXPECT_EQ(texts, c.fields) << c.line;
        EXPECT_EQ(split.ambiguity, "") << c.line;
    }
    EXPECT_EQ(splitTextFields("1-2/3").ambiguity, "numbers separated by both '-' and '/' (one separator for all)");
    EXPECT_EQ(splitTextFields("1|2|3.4").ambiguity, "numbers separated by both '|' and '.' (one separator for all)");
    EXPECT_TRUE(splitTextFields("'1'").fields[0].quoted);
}

TEST(TextFields, WholeNumbersAndLinesThatMayHoldThem) {
    int64_t value = 0;
    EXPECT_EQ(readWholeNumber("17", value), NumberReading::Whole);
    EXPECT_EQ(value, 17);
    EXPECT_EQ(readWholeNumber("\xEF\xBC\x91\xEF\xBC\x97", value), NumberReading::Whole);  // full-width 17
    EXPECT_EQ(value, 17);
    EXPECT_EQ(readWholeNumber("0\xEF\xBC\x99", value), NumberReading::Whole);
    EXPECT_EQ(value, 9);
    EXPECT_EQ(readWholeNumber("-7", value), NumberReading::Whole);
    EXPECT_EQ(value, -7);
    for (const char* notWhole : {"", "-", "+7", "7.0", "x7", "7x", " 7", "\xEF\xBC\x91x"})
        EXPECT_EQ(readWholeNumber(notWhole, value), NumberReading::NotWhole) << notWhole;
    EXPECT_EQ(readWholeNumber("99999999999999999999", value), NumberReading::TooLarge);

    for (const char* words : {"", "N1;N2;N3", "\"Ball1\",\"Ball7\"", "# my system", "Zahl12 x", "\xEF\xBD\x8E" "1"})
        EXPECT_FALSE(holdsNumberDigit(words)) << words;
    for (const char* numbers : {"1-2-3", "Ball 1", "Draw 1st", "#1", "N1 2", "x_1", "\xEF\xBC\x91", "a\xC3\xA9" "1",
                                "1\x00", "\xC3\xA9" "5"})
        EXPECT_TRUE(holdsNumberDigit(numbers)) << numbers;
}

}  // namespace
}  // namespace quillstep

// The system-file reader's strict rules: header lines and row numbers only in this program's own
// form, quoted numbers and CR-only line endings, bounded reading, escaped echoes and the real
// reason of a file that cannot be opened.

#include "files/system_file_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>  // geteuid: root reads every file

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quillstep {
namespace {

using Rows = std::vector<SystemFileCombination>;

const Rows TWO_ROWS{{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 8, 9, 10}};
const std::string OWN_FILE =
    "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 10 SUM:140-150 FIX number=25\"\r\n\"gar.:5 from 7 OK numbers\"\r\n\r\n"
    "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST(SystemFileReaderStrict, AcceptsQuotedNumbersAndEveryLineEndingAlike) {
    // CR alone (as old Mac editors save), LF, CR LF, and the file fed one byte at a time, so that a
    // CR LF split between two reads still ends one line.
    for (const std::string& text : {OWN_FILE, replaced(OWN_FILE, "\r\n", "\r"), replaced(OWN_FILE, "\r\n", "\n")}) {
        const SystemFileContents whole = parseSystemFileText(text);
        EXPECT_TRUE(whole.ok()) << whole.error;
        EXPECT_EQ(whole.combinations, TWO_ROWS);
        SystemFileParser parser;
        for (char c : text) ASSERT_TRUE(parser.feed(std::string_view(&c, 1)));
        EXPECT_EQ(parser.finish().combinations, TWO_ROWS);
    }
    // Numbers in double quotes, as spreadsheets export them, the first line included.
    const SystemFileContents quoted =
        parseSystemFileText("\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\"\r\n\"10\" 9 \"8\",4,3,2,\"1\"\r\n");
    EXPECT_TRUE(quoted.ok()) << quoted.error;
    EXPECT_EQ(quoted.combinations, TWO_ROWS);
    // Header lines: this program's "text", or another program's line of words (no digit but in captions),
    // stray quotes and all; seven quoted numbers are always a combination, never a header.
    for (const char* text : {"\"half \"quoted\" header\"\n1 2 3 4 5 6 7\n1 2 3 4 8 9 10\n",
                             "\"N1\";\"N2\";\"N3\"\r\"1\";\"2\";\"3\";\"4\";\"5\";\"6\";\"7\"\r1;2;3;4;8;9;10\r",
                             "Draw;first;second\n\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\"\n1 2 3 4 8 9 10\n"}) {
        const SystemFileContents contents = parseSystemFileText(text);
        EXPECT_TRUE(contents.ok()) << text << ": " << contents.error;
        EXPECT_EQ(contents.combinations, TWO_ROWS) << text;
    }
    // CR-only endings keep their line numbers.
    EXPECT_EQ(parseSystemFileText("1 2 3 4 5 6 7\r\r1 2 3 4 5 6 x\r").error, "line 3: 'x' is not a whole number");
}

TEST(SystemFileReaderStrict, RefusesEveryOtherFormNamingItsOwnLine) {
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases{
        // eight numbers are a row number only in the program's own form, and rows count 1, 2, 3
        {"1 2 3 4 5 6 7 8\n1 2 3 4 5 6 7\n",
         "line 1: 8 fields: a row number is read only in this program's form row,a,b,c,d,e,f,g (digits and commas, no "
         "blanks or quotes)"},
        {"1, 1, 2, 3, 4, 5, 6, 7\n", "line 1: 8 fields: a row number is read only in this program's form "
                                     "row,a,b,c,d,e,f,g (digits and commas, no blanks or quotes)"},
        {"1,1,2,3,4,5,6,7\n3,1,2,3,4,8,9,10\n", "line 2: row number 3 where 2 was expected (rows count 1, 2, 3, ...)"},
        {"\"h\"\n\n2,1,2,3,4,5,6,7\n", "line 3: row number 2 where 1 was expected (rows count 1, 2, 3, ...)"},
        // a combination quoted whole is neither a header nor quoted numbers
        {"\"1,2,3,4,5,6,7\"\n1,2,3,4,8,9,10\n", "line 1: a combination in one pair of quotes (quote each number, or none)"},
        {"\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\"\n\"late\"\n", "line 2: a header line after the first combination"},
        // a line with a number in it is never passed over as a header, however it begins
        {"x1,2,3,4,5,6,7\n1,2,3,4,8,9,10\n", "line 1: 'x1' is not a whole number"},
        {"\"Draw 12\" 1 2 3 4 5 6\n", "line 1: 'Draw 12' is not a whole number"},
        {"Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Ball 7\n1,2,3,4,5,6,7\n",
         "line 1: expected seven numbers (or a row number and seven numbers), found 14 fields"},
        {"1;1;2;3;4;5;6;7\n2;1;2;3;8;9;10;11\n", "line 1: 8 fields: a row number is read only in this program's form "
                                                "row,a,b,c,d,e,f,g (digits and commas, no blanks or quotes)"},
        {"\"1;2;3;4;5;6;7\"\n", "line 1: a combination in one pair of quotes (quote each number, or none)"},
        {"1 2 3 4 5 6 \"7\n", "line 1: '\"7' is not a whole number"},
        // too large is said so
        {"1 2 3 4 5 6 12345678901234567890\n", "line 1: number 12345678901234567890 is too large"},
        {"99999999999999999999,1,2,3,4,5,6,7\n", "line 1: row number 99999999999999999999 is too large"},
        // control bytes are escaped, and a long field is cut
        {"1 2 3 4 5 6 \x1b[2J\x07\n", "line 1: '\\x1b[2J\\x07' is not a whole number"},
        {"1 2 3 4 5 6 a\x01" "b\n", "line 1: 'a\\x01b' is not a whole number"},
        // a NUL byte is no text: most likely UTF-16 saved without its byte order mark
        {std::string("1 2 3 4 5 6 a\0b\n", 16), "line 1: a NUL byte (UTF-16 without its byte order mark? Save the file as "
                                                 "UTF-8, or as UTF-16 with its byte order mark)"},
        {"1 2 3 4 5 6 " + std::string(30, 'z') + "\n", "line 1: '" + std::string(20, 'z') + "...' is not a whole number"},
    };
    for (const Case& c : cases) {
        const SystemFileContents contents = parseSystemFileText(c.text);
        EXPECT_EQ(contents.error, c.error) << c.text;
        EXPECT_TRUE(contents.combinations.empty()) << c.text;
    }
}

// A source of `limit` bytes (or without end) that repeats `pattern` and counts what was taken.
struct RepeatingSource {
    std::string pattern;
    uint64_t limit = UINT64_MAX;
    uint64_t given = 0;
    int64_t operator()(char* buffer, size_t size) {
        size_t n = 0;
        for (; n < size && given < limit; ++n, ++given) buffer[n] = pattern[given % pattern.size()];
        return static_cast<int64_t>(n);
    }
};

TEST(SystemFileReaderStrict, ReadsInBoundedMemoryAndStopsAtTheFirstMistake) {
    // A line without end (a huge single line, or a file that keeps growing) is refused within its
    // first chunk, having kept no more than the line limit.
    RepeatingSource endlessLine{"7"};
    const SystemFileContents tooLong = readSystemFileFrom(std::ref(endlessLine));
    EXPECT_EQ(tooLong.error, "line 1: longer than 1000 characters (a line of a system file holds at most that many)");
    EXPECT_LE(endlessLine.given, uint64_t{1} << 20);

    // Endless well-formed lines end at the stated line limit.
    RepeatingSource endlessLines{"1 2 3 4 5 6 7\n"};
    const SystemFileContents tooMany = readSystemFileFrom(std::ref(endlessLines));
    EXPECT_EQ(tooMany.error, "line " + std::to_string(SYSTEM_FILE_LINE_LIMIT + 1) + ": a system file holds at most " +
                                 std::to_string(SYSTEM_FILE_LINE_LIMIT) + " lines");
    EXPECT_EQ(tooMany.errorLine, SYSTEM_FILE_LINE_LIMIT + 1);
    EXPECT_TRUE(tooMany.combinations.empty());
    EXPECT_LE(endlessLines.given, 14 * SYSTEM_FILE_LINE_LIMIT + (uint64_t{1} << 20));

    // Exactly at the limits, everything is read.
    RepeatingSource fullFile{"1 2 3 4 5 6 7\r\n", 15 * static_cast<uint64_t>(SYSTEM_FILE_LINE_LIMIT)};
    const SystemFileContents full = readSystemFileFrom(std::ref(fullFile));
    EXPECT_TRUE(full.ok()) << full.error;
    EXPECT_EQ(full.combinations.size(), static_cast<size_t>(SYSTEM_FILE_LINE_LIMIT));
    const std::string longestLine = std::string(SYSTEM_FILE_LINE_LENGTH_LIMIT - 13, ' ') + "1 2 3 4 5 6 7";
    EXPECT_TRUE(parseSystemFileText(longestLine + "\n").ok());
    EXPECT_FALSE(parseSystemFileText(" " + longestLine + "\n").ok());

    // The first malformed line ends the reading: nothing after it is asked for.
    RepeatingSource badThenEndless{"1 2 3 4 5 6\n"};
    EXPECT_EQ(readSystemFileFrom(std::ref(badThenEndless)).errorLine, 1);
    EXPECT_LE(badThenEndless.given, uint64_t{1} << 20);

    // A source that fails is an unreadable file, not an empty one.
    EXPECT_FALSE(readSystemFileFrom([](char*, size_t) -> int64_t { return -1; }).ok());
}

class SystemFileReaderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-reader-strict-");
    }
    void TearDown() override {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path folder;
};

TEST_F(SystemFileReaderFiles, NamesTheRealReasonAndEscapesTheName) {
    std::filesystem::create_symlink("loop-b", folder / "loop-a");
    std::filesystem::create_symlink("loop-a", folder / "loop-b");
    EXPECT_EQ(readSystemFile(folder / "loop-a").error,
              "cannot read " + (folder / "loop-a").string() + ": Too many levels of symbolic links");
    std::ofstream(folder / "plain.txt") << OWN_FILE;
    EXPECT_EQ(readSystemFile(folder / "plain.txt" / "x").error,
              "cannot read " + (folder / "plain.txt" / "x").string() + ": Not a directory");
    EXPECT_EQ(readSystemFile(folder / "missing.txt").error,
              "cannot read " + (folder / "missing.txt").string() + ": no such file");
    EXPECT_EQ(readSystemFile(folder / "plain.txt").combinations, TWO_ROWS);

    // A name with control bytes is never echoed as it is.
    const std::filesystem::path odd = folder / "a\x1b]0;x\x07\nb.txt";
    std::ofstream(odd) << "1 2 3\n";
    EXPECT_EQ(readSystemFile(odd).error, folder.string() + "/a\\x1b]0;x\\x07\\x0ab.txt: line 1: expected seven numbers "
                                                           "(or a row number and seven numbers), found 3 fields");

    // Opening alone, before anything runs.
    EXPECT_EQ(systemFileOpenProblem(folder / "plain.txt"), "");
    EXPECT_EQ(systemFileOpenProblem(folder / "missing.txt"), readSystemFile(folder / "missing.txt").error);
    EXPECT_EQ(systemFileOpenProblem(folder), "cannot read " + folder.string() + ": not a regular file");
}

TEST_F(SystemFileReaderFiles, NamesPermissionDenialWhereTheUserLacksIt) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file: permissions are tested by system_file_reading_contract";
    std::ofstream(folder / "locked.txt") << OWN_FILE;
    std::filesystem::permissions(folder / "locked.txt", std::filesystem::perms::none);
    EXPECT_EQ(readSystemFile(folder / "locked.txt").error,
              "cannot read " + (folder / "locked.txt").string() + ": Permission denied");
}

}  // namespace
}  // namespace quillstep

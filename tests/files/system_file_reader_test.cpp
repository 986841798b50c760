#include "files/system_file_reader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quillstep {
namespace {

using Rows = std::vector<SystemFileCombination>;

const Rows TWO_ROWS{{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 8, 9, 10}};

TEST(SystemFileReader, ReadsItsOwnFilesWithOrWithoutHeader) {
    const std::string ownFile =
        "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 10\"\r\n\"gar.:5 from 7 OK numbers\"\r\n\r\n"
        "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n";
    for (const std::string& text : {ownFile, std::string("1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n"),
                                     std::string("1,1,2,3,4,5,6,7\n2,1,2,3,4,8,9,10"),
                                     "\xEF\xBB\xBF" + ownFile}) {
        const SystemFileContents contents = parseSystemFileText(text);
        EXPECT_TRUE(contents.ok()) << contents.error;
        EXPECT_EQ(contents.combinations, TWO_ROWS);
    }
    // An empty description and an empty system: header only, nothing to read.
    const SystemFileContents headerOnly = parseSystemFileText("\"Marrowby - Quillstep\"\r\n\"\"\r\n\r\n");
    EXPECT_TRUE(headerOnly.ok());
    EXPECT_TRUE(headerOnly.combinations.empty());
}

TEST(SystemFileReader, ReadsPlainLinesSeparatedByCommasOrBlanksInAnyOrder) {
    const SystemFileContents contents =
        parseSystemFileText("1 2 3 4 5 6 7\n\n  10\t9 8 4 3 2 1  \n1, 2, 3, 4, 5, 6, 7\n3 1 2 4 7 6 5\r\n");
    ASSERT_TRUE(contents.ok()) << contents.error;
    EXPECT_EQ(contents.combinations, (Rows{TWO_ROWS[0], TWO_ROWS[1], TWO_ROWS[0], TWO_ROWS[0]}));
    EXPECT_EQ(combinationMask(TWO_ROWS[1]), 0b11100011110u);
}

TEST(SystemFileReader, NamesTheLineAndTheMistakeOfAMalformedLine) {
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases{
        {"1,2,3,4,5,6\n", "line 1: expected seven numbers (or a row number and seven numbers), found 6 fields"},
        {"1,2,3,4,5,6,7,8,9\n", "line 1: expected seven numbers (or a row number and seven numbers), found 9 fields"},
        {"1 2 3 4 5 6 7\n\n1 2 3 4 5 6 40\n", "line 3: number 40 is outside 1 to 39"},
        {"0 2 3 4 5 6 7\n", "line 1: number 0 is outside 1 to 39"},
        {"1 2 3 4 5 6 -7\n", "line 1: number -7 is outside 1 to 39"},
        {"1,1,2,3,4,5,6,6\r\n", "line 1: number 6 appears twice"},
        {"1 2 3 4 5 six 7\n", "line 1: 'six' is not a whole number"},
        {"1 2 3 4 5 6 7.0\n", "line 1: '7.0' is not a whole number"},
        {"1,2,3,,4,5,6\n", "line 1: empty field"},
        {"1,2,3,4,5,6,7,\n", "line 1: empty field"},
        {"0,1,2,3,4,5,6,7\n", "line 1: row number 0 is below 1"},
        {"\"header\"\r\n1,1,2,3,4,5,6,7\r\n\"late header\"\r\n", "line 3: a header line after the first combination"},
        {"1 2 3 4 5 6 7\n1 2 3 4 5 6 7 8\n", "line 2: expected seven numbers like the lines before, found 8 fields"},
        {"1;2;3;4;5;6\n", "line 1: expected seven numbers (or a row number and seven numbers), found 6 fields"},
        {"1;2;3;4;5;6;7\nDraw;N1;N2\n", "line 2: a header line after the first combination"},
        {"1 2 3 4 5 6 x7\n", "line 1: 'x7' is not a whole number"},
    };
    for (const Case& c : cases) {
        const SystemFileContents contents = parseSystemFileText(c.text);
        EXPECT_EQ(contents.error, c.error) << c.text;
        EXPECT_TRUE(contents.combinations.empty()) << c.text;
    }
    EXPECT_EQ(parseSystemFileText("1 2 3 4 5 6 7\r\n\r\nx\r\n").errorLine, 3);
}

TEST(SystemFileReader, ReadsAFileAndRefusesOneThatCannotBeRead) {
    const std::filesystem::path folder = freshTestFolder("quillstep-system-file-reader-");
    std::ofstream(folder / "system.txt", std::ios::binary) << "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n";
    EXPECT_EQ(readSystemFile(folder / "system.txt").combinations, TWO_ROWS);

    // A row that lost a number is not taken for seven plain numbers (12 and 1..4, 8, 9).
    std::ofstream(folder / "bad.txt", std::ios::binary) << "1,1,2,3,4,5,6,7\r\n12,1,2,3,4,8,9\r\n";
    const SystemFileContents bad = readSystemFile(folder / "bad.txt");
    EXPECT_EQ(bad.error, (folder / "bad.txt").string() +
                             ": line 2: expected a row number and seven numbers like the lines before, found 7 fields");
    EXPECT_TRUE(bad.combinations.empty());

    EXPECT_EQ(readSystemFile(folder / "missing.txt").error, "cannot read " + (folder / "missing.txt").string() + ": no such file");
    EXPECT_EQ(readSystemFile(folder).error, "cannot read " + folder.string() + ": not a regular file");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillstep

// System files of other programs: lines of seven numbers separated by commas, blanks, tabs or
// semicolons, with or without header lines of words, ending in CR LF or LF.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/system_file_reader.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

const std::vector<SystemFileCombination> TWO_LINES{{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 8, 9, 10, 11}};

TEST(SystemFileFormats, OtherProgramsLinesReadAsTheSameSystem) {
    for (const char* text : {
             "1;2;3;4;5;6;7\r\n11;10;9;8;3;2;1\r\n",
             "N1;N2;N3;N4;N5;N6;N7\r\n1;2;3;4;5;6;7\r\n1;2;3;8;9;10;11\r\n",
             "Ball1,Ball2,Ball3,Ball4,Ball5,Ball6,Ball7\n1,2,3,4,5,6,7\n1,2,3,8,9,10,11\n",
             "# my system\n\n1\t2\t3\t4\t5\t6\t7\n1\t2\t3\t8\t9\t10\t11\n",
             "\"a\";\"b\"\r\n1; 2; 3; 4; 5; 6; 7\r\n1 ;2 ;3 ;8 ;9 ;10 ;11",
         }) {
        const SystemFileContents contents = parseSystemFileText(text);
        EXPECT_TRUE(contents.ok()) << text << ": " << contents.error;
        EXPECT_EQ(contents.combinations, TWO_LINES) << text;
    }
}

TEST(SystemFileFormats, WordsAfterTheFirstCombinationAndBrokenSemicolonLinesAreRefused) {
    EXPECT_EQ(parseSystemFileText("1;2;3;4;5;6;7\nTotal;sum\n").error, "line 2: a header line after the first combination");
    EXPECT_EQ(parseSystemFileText("1;2;3;4;5;6;7\nTotal;2\n").error,
              "line 2: expected seven numbers (or a row number and seven numbers), found 2 fields");
    // A caption with numbers in it is not passed over: it could be a mistyped combination.
    EXPECT_EQ(parseSystemFileText("Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Ball 7\n1,2,3,4,5,6,7\n").error,
              "line 1: expected seven numbers (or a row number and seven numbers), found 14 fields");
    // Eight numbers are a row number and seven only in this program's own form, with commas.
    EXPECT_EQ(parseSystemFileText("1;1;2;3;4;5;6;7\n2;1;2;3;8;9;10;11\n").error,
              "line 1: 8 fields: a row number is read only in this program's form row,a,b,c,d,e,f,g (digits and commas, "
              "no blanks or quotes)");
    EXPECT_EQ(parseSystemFileText("1;2;3;;4;5;6\n").error, "line 1: empty field");
    EXPECT_EQ(parseSystemFileText("N1;N2\n1;2;3;4;5;6;x\n").error, "line 2: 'x' is not a whole number");
    EXPECT_EQ(parseSystemFileText("1;2;3;4;5;6;7;\n").error, "line 1: empty field");
}

// The two lines of TWO_LINES written with `separator` between the numbers, each number in `quote`.
std::string twoLinesWith(const std::string& separator, const std::string& quote = "") {
    std::string text;
    for (const SystemFileCombination& line : TWO_LINES) {
        for (size_t k = 0; k < line.size(); ++k) text += (k > 0 ? separator : "") + quote + std::to_string(line[k]) + quote;
        text += "\r\n";
    }
    return text;
}

std::string utf16(const std::string& ascii, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : ascii) bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return bytes;
}

TEST(SystemFileFormats, OtherSeparatorsQuotesEncodingsAndFullWidthDigitsReadAsTheSameSystem) {
    std::vector<std::string> files;
    for (const char* separator : {"-", "|", ".", "/", ":", " - ", " | "}) files.push_back(twoLinesWith(separator));
    files.push_back(twoLinesWith(",", "'"));
    files.push_back(twoLinesWith(";", "'"));
    files.push_back(twoLinesWith("-", "'"));
    files.push_back("Ball1|Ball2\n" + twoLinesWith("|"));
    files.push_back(utf16("\"N1\";\"N2\"\r\n" + twoLinesWith(";"), true));
    files.push_back(utf16(twoLinesWith(" "), false));
    files.push_back(utf16(twoLinesWith("-", "'"), true));
    // full-width digits, the ideographic space and the full-width comma
    files.push_back("\xEF\xBC\x91 \xEF\xBC\x92 \xEF\xBC\x93 \xEF\xBC\x94 \xEF\xBC\x95 \xEF\xBC\x96 \xEF\xBC\x97\n"
                    "\xEF\xBC\x91\xEF\xBC\x91\xE3\x80\x80\xEF\xBC\x91\xEF\xBC\x90\xE3\x80\x80\xEF\xBC\x99\xEF\xBC\x8C"
                    "\xEF\xBC\x98,3,2,1\n");
    for (const std::string& text : files) {
        const SystemFileContents contents = parseSystemFileText(text);
        EXPECT_TRUE(contents.ok()) << text << ": " << contents.error;
        EXPECT_EQ(contents.combinations, TWO_LINES) << text;
    }
}

TEST(SystemFileFormats, ALineWithADigitIsNeverPassedOverAsAHeader) {
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases{
        {"1-2-3-4-5-6\n", "line 1: expected seven numbers (or a row number and seven numbers), found 6 fields"},
        {"1-2-3-4-5-6-x\n", "line 1: 'x' is not a whole number"},
        {"1-2-3-4-5-6-40\n", "line 1: number 40 is outside 1 to 39"},
        {"1-2/3-4-5-6-7\n", "line 1: numbers separated by both '-' and '/' (one separator for all)"},
        {"1-2-3-4-5-6-7\n1|2|3|4|8|9|10\n", "line 2: numbers separated by '|' where the lines before separate them by '-'"},
        {"1 2 3 4 5 6 7\n1.2.3.4.8.9.10\n",
         "line 2: numbers separated by '.' where the lines before separate them by commas, semicolons, blanks or tabs"},
        {"1:2:3:4:5:6:7\n1,2,3,4,8,9,10\n",
         "line 2: numbers separated by commas, semicolons, blanks or tabs where the lines before separate them by ':'"},
        {"Draw 1st 2nd\n1 2 3 4 5 6 7\n", "line 1: expected seven numbers (or a row number and seven numbers), found 3 fields"},
        {"Created 2024-05-01\n1 2 3 4 5 6 7\n", "line 1: expected seven numbers (or a row number and seven numbers), found 2 fields"},
        {"1_2_3_4_5_6_7\n", "line 1: expected seven numbers (or a row number and seven numbers), found 1 field"},
        {"\"7/10\"\n", "line 1: numbers in one pair of quotes (quote each number, or none)"},
        {"\"1-2-3-4-5-6-7\"\n", "line 1: a combination in one pair of quotes (quote each number, or none)"},
        {utf16("1 2 3 4 5 6 7\n1 2 3 4 5 6\n", true), "line 2: expected seven numbers (or a row number and seven numbers), found 6 fields"},
        // UTF-16 without byte order mark is refused at its first line, words or numbers
        {utf16("1 2 3 4 5 6 7\n", true).substr(2), "line 1: a NUL byte (UTF-16 without its byte order mark? Save "
                                                    "the file as UTF-8, or as UTF-16 with its byte order mark)"},
        {utf16("N1;N2\n1;2;3;4;5;6;7\n", false).substr(2), "line 1: a NUL byte (UTF-16 without its byte order mark? "
                                                         "Save the file as UTF-8, or as UTF-16 with its byte order mark)"},
    };
    for (const Case& c : cases) {
        const SystemFileContents contents = parseSystemFileText(c.text);
        EXPECT_EQ(contents.error, c.error) << c.text;
        EXPECT_TRUE(contents.combinations.empty()) << c.text;
    }
    // Words after the first combination stay refused; captions with numbers before it stay headers.
    EXPECT_EQ(parseSystemFileText("1-2-3-4-5-6-7\nTotal\n").error, "line 2: a header line after the first combination");
    EXPECT_TRUE(parseSystemFileText("\"FULL SYSTEM 7/ 10 SUM:140-150\"\n1-2-3-4-5-6-7\n").ok());
}

TEST(SystemFileFormats, AFileWithoutCombinationIsRefusedWhereASystemIsUsed) {
    const std::filesystem::path folder = freshTestFolder("quillstep-system-file-formats-");
    const std::vector<std::string> empties{"", "\r\n\n  \t\n", "\"Marrowby - Quillstep\"\r\n\"\"\r\n", "N1;N2;N3\n# none\n",
                                           "\xEF\xBB\xBF", "\xFF\xFE"};
    for (size_t k = 0; k < empties.size(); ++k) {
        const std::filesystem::path file = folder / ("empty" + std::to_string(k) + ".txt");
        std::ofstream(file, std::ios::binary) << empties[k];
        const SystemFileContents refused = readSystemFile(file);
        EXPECT_EQ(refused.error,
                  file.string() + ": holds no combination (the file is empty or holds only blank or header lines)");
        EXPECT_TRUE(readSystemFile(file, EmptySystemFile::Read).ok()) << k;
    }
    std::ofstream(folder / "one.txt", std::ios::binary) << "Ball1 Ball2\n1 2 3 4 5 6 7\n";
    EXPECT_TRUE(readSystemFile(folder / "one.txt").ok());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillstep

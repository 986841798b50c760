// System files of other programs: lines of seven numbers separated by commas, blanks, tabs or
// semicolons, with or without header lines of words, ending in CR LF or LF.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/system_file_reader.h"

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

}  // namespace
}  // namespace quillstep

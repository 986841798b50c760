// The history reader: what it takes (dates in three forms, bonus numbers, separators, quotes,
// headers, line ends, order by date) and, line by line, what it refuses and how it names it.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "draws/history_reader.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

std::vector<int32_t> numbersOf(const PastDraw& draw) { return {draw.numbers.begin(), draw.numbers.end()}; }

TEST(HistoryReader, TakesDrawsWithoutDatesInFileOrder) {
    const HistoryReading r = parseHistoryText("N1;N2;N3;N4;N5;N6;N7\r\n7;1;2;3;4;5;6\r\n\r\n39 38 37 36 35 34 33\r\n");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.history.draws.size(), 2u);
    EXPECT_FALSE(r.history.dated);
    EXPECT_EQ(numbersOf(r.history.draws[0]), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(r.history.draws[0].line, 2);
    EXPECT_EQ(numbersOf(r.history.draws[1]), (std::vector<int32_t>{33, 34, 35, 36, 37, 38, 39}));
    EXPECT_EQ(r.history.draws[1].mask, (uint64_t{0x7F} << 33));
    EXPECT_EQ(r.history.draws[1].line, 4);
}

TEST(HistoryReader, OrdersDatedDrawsByDateInAnyOfTheThreeForms) {
    const HistoryReading r = parseHistoryText(
        "\xEF\xBB\xBF" "Date,N1,N2,N3,N4,N5,N6,N7,Bonus\n"
        "\"09.03.2024\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\"\r"
        "2024-03-02\t11\t12\t13\t14\t15\t16\t17\r"
        "29/02/2024;21;22;23;24;25;26;27;28;29;30\n"
        "2024-3-9, 31, 32, 33, 34, 35, 36, 37");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_TRUE(r.history.dated);
    const std::vector<PastDraw>& d = r.history.draws;
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(isoDateText(d[0].date), "2024-02-29");
    EXPECT_EQ(isoDateText(d[1].date), "2024-03-02");
    EXPECT_EQ(isoDateText(d[2].date), "2024-03-09");
    EXPECT_EQ(isoDateText(d[3].date), "2024-03-09");
    // Two draws of one day keep the file's order.
    EXPECT_EQ(d[2].numbers[0], 1);
    EXPECT_EQ(d[3].numbers[0], 31);
    EXPECT_EQ(d[0].bonusCount, 3);
    EXPECT_EQ(d[0].bonus[2], 30);
    EXPECT_EQ(d[2].bonusCount, 1);
    EXPECT_EQ(d[2].bonus[0], 8);
    // Bonus numbers are kept apart from the draw itself.
    EXPECT_EQ(std::popcount(d[0].mask), 7);
}

// The encodings and separators of the reader layer, as for system files: UTF-16 with its byte
// order mark, numbers separated by one mark, a date before blank-separated numbers.
TEST(HistoryReader, TakesTheEncodingsAndSeparatorsOfSystemFiles) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("2024-05-01 1 2 3 4 5 6 7\r\n2024-04-30 8 9 10 11 12 13 14\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    const HistoryReading wide = parseHistoryText(utf16);
    ASSERT_TRUE(wide.ok()) << wide.error;
    ASSERT_EQ(wide.history.draws.size(), 2u);
    EXPECT_EQ(isoDateText(wide.history.draws[0].date), "2024-04-30");
    EXPECT_EQ(wide.history.draws[0].numbers[0], 8);

    const HistoryReading marks = parseHistoryText("1-2-3-4-5-6-7\n'8'|'9'|'10'|'11'|'12'|'13'|'14'\n");
    ASSERT_TRUE(marks.ok()) << marks.error;
    ASSERT_EQ(marks.history.draws.size(), 2u);
    EXPECT_EQ(marks.history.draws[1].numbers[6], 14);
}

struct Refusal {
    std::string text;
    int64_t line;
    const char* error;
};

TEST(HistoryReader, RefusesEachMalformedLineByNumberAndFault) {
    const std::string good = "1,2,3,4,5,6,7\n";
    const std::string dated = "2024-01-06,1,2,3,4,5,6,7\n";
    const std::vector<Refusal> refusals{
        {"1,2,3,4,5,6\n", 1, "line 1: expected seven numbers, found 6 numbers"},
        {"2024-01-06,1,2,3,4,5,6\n", 1, "line 1: expected seven numbers after the date, found 6 numbers"},
        {"1,2,3,4,5,6,7,8,9,10,11\n", 1, "line 1: expected seven numbers and at most three bonus numbers, found 11 numbers"},
        {"1,2,3,4,5,6,40\n", 1, "line 1: number 40 is outside 1 to 39"},
        {"0,2,3,4,5,6,7\n", 1, "line 1: number 0 is outside 1 to 39"},
        {"1,2,3,4,5,6,6\n", 1, "line 1: number 6 appears twice"},
        {"1,2,3,4,5,6,7,7\n", 1, "line 1: bonus number 7 is one of the seven numbers"},
        {"1,2,3,4,5,6,7,8,8\n", 1, "line 1: bonus number 8 appears twice"},
        {"1,2,3,4,5,6,7,40\n", 1, "line 1: bonus number 40 is outside 1 to 39"},
        {"1,2,3,4,5,6,x7\n", 1, "line 1: 'x7' is not a whole number"},
        {"1,2,3,4,5,6,,7\n", 1, "line 1: empty field"},
        {"1,2,3,4,5,6,99999999999999999999\n", 1, "line 1: number 99999999999999999999 is too large"},
        {"2023-02-29,1,2,3,4,5,6,7\n", 1,
         "line 1: '2023-02-29' is not a date (YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY of a day that exists)"},
        {"31.04.2024,1,2,3,4,5,6,7\n", 1,
         "line 1: '31.04.2024' is not a date (YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY of a day that exists)"},
        {"24-01-06,1,2,3,4,5,6,7\n", 1,
         "line 1: '24-01-06' is not a date (YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY of a day that exists)"},
        {"1,2,3,4,5,6,2024-01-06\n", 1, "line 1: '2024-01-06' is not a whole number"},
        {good + dated, 2, "line 2: a date first, which the draws before do not have"},
        {dated + good, 2, "line 2: no date first, as the draws before have"},
        {good + "N1,N2,N3\n", 2, "line 2: a header line after the first draw"},
        {"Draws\n\n" + good + good + "1;2;3\n", 5, "line 5: expected seven numbers, found 3 numbers"},
        {good + "\r\n" + "1 2 3 4 5 6 7 39 38 37 36\r\n", 3,
         "line 3: expected seven numbers and at most three bonus numbers, found 11 numbers"},
    };
    for (const Refusal& refusal : refusals) {
        const HistoryReading r = parseHistoryText(refusal.text);
        EXPECT_FALSE(r.ok()) << refusal.text;
        EXPECT_EQ(r.errorLine, refusal.line) << refusal.text;
        EXPECT_EQ(r.error, refusal.error) << refusal.text;
        EXPECT_TRUE(r.history.draws.empty()) << "a refused file hands over no draw: " << refusal.text;
    }
}

TEST(HistoryReader, RefusesFilesWithoutADraw) {
    EXPECT_EQ(parseHistoryText("").error, "the file is empty");
    for (const char* text : {"\n\n", "Date;N1;N2;N3;N4;N5;N6;N7\n", "\xEF\xBB\xBF"}) {
        const HistoryReading r = parseHistoryText(text);
        EXPECT_EQ(r.error, "the file holds no draw (one draw per line: seven numbers 1 to 39)") << text;
        EXPECT_EQ(r.errorLine, 0);
    }
}

TEST(HistoryReader, LimitsLinesAndDrawsAndReadsInAStream) {
    const std::string longLine(HISTORY_LINE_LENGTH_LIMIT + 1, '1');
    const HistoryReading tooLong = parseHistoryText("1,2,3,4,5,6,7\n" + longLine + "\n");
    EXPECT_EQ(tooLong.errorLine, 2);
    EXPECT_EQ(tooLong.error, "line 2: longer than 1000 characters (a line of a history file holds at most that many)");

    // The limit of draws, fed in small pieces as a stream would bring them.
    std::string line = "1 2 3 4 5 6 7\n";
    HistoryParser parser;
    for (int64_t k = 0; k < HISTORY_DRAW_LIMIT; ++k) ASSERT_TRUE(parser.feed(line));
    HistoryReading full = parser.finish();
    ASSERT_TRUE(full.ok()) << full.error;
    EXPECT_EQ(static_cast<int64_t>(full.history.draws.size()), HISTORY_DRAW_LIMIT);

    HistoryParser over;
    for (int64_t k = 0; k < HISTORY_DRAW_LIMIT; ++k) over.feed(line);
    EXPECT_FALSE(over.feed(line));
    const HistoryReading refused = over.finish();
    EXPECT_EQ(refused.errorLine, HISTORY_DRAW_LIMIT + 1);
    EXPECT_EQ(refused.error, "line 100001: a history file holds at most 100000 draws");
}

TEST(HistoryReader, ReadsAFileAndNamesItInErrors) {
    const std::filesystem::path folder = freshTestFolder("history-");
    const std::filesystem::path good = folder / "draws.csv", bad = folder / "bad.csv";
    std::ofstream(good, std::ios::binary) << "2024-01-13;3;5;9;17;22;30;39\n2024-01-06;1;2;3;4;5;6;7\n";
    std::ofstream(bad, std::ios::binary) << "1;2;3;4;5;6;7\n1;2;3\n";
    const HistoryReading r = readHistoryFile(good);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.history.draws.size(), 2u);
    EXPECT_EQ(r.history.draws[0].line, 2);  // the older draw comes first
    const HistoryReading b = readHistoryFile(bad);
    EXPECT_EQ(b.error, "line 2: expected seven numbers, found 3 numbers");
    EXPECT_FALSE(b.unreadable);
    EXPECT_EQ(historyErrorMessage(bad, b), bad.string() + ": line 2: expected seven numbers, found 3 numbers");
    const HistoryReading missing = readHistoryFile(folder / "missing.csv");
    EXPECT_TRUE(missing.unreadable);
    EXPECT_EQ(missing.error, "no such file");
    EXPECT_EQ(historyErrorMessage(folder / "missing.csv", missing),
              "cannot read " + (folder / "missing.csv").string() + ": no such file");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillstep

// CTest label: threads
// Making a wheel: the search, the independent check and the file; and the published sizes, held
// to the repository's data file read here line by line.
#include <gtest/gtest.h>

#include <bit>
#include <fstream>
#include <sstream>

#include "texts/published_wheels.h"
#include "files/system_file_reader.h"
#include "usecases/wheel_making.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

uint64_t rangeMask(int from, int to) {
    uint64_t mask = 0;
    for (int v = from; v <= to; ++v) mask |= uint64_t{1} << v;
    return mask;
}

TEST(WheelMaking, WritesACheckedWheelThatReadsBack) {
    const std::filesystem::path folder = freshTestFolder("wheel_making");
    WheelMaking making;
    making.request = wheelCoverRequest({rangeMask(10, 22), uint64_t{1} << 15, 3, 5});
    making.request.timeLimitSeconds = 300;
    making.request.moveBudget = 10000;
    making.request.threads = 1;
    making.target = folder / "w.txt";
    making.shownName = "w.txt";
    const WheelMade made = makeWheel(making, WriteObserver{});
    ASSERT_TRUE(made.written());
    EXPECT_TRUE(made.file.check.covered());
    EXPECT_EQ(made.file.file.rows, static_cast<int64_t>(made.search.tickets.size()));
    const SystemFileContents contents = readSystemFile(folder / "w.txt");
    ASSERT_TRUE(contents.ok());
    std::vector<uint64_t> read;
    for (const SystemFileCombination& c : contents.combinations) read.push_back(combinationMask(c));
    EXPECT_EQ(read, made.search.tickets);
    EXPECT_NE(readFile(folder / "w.txt").find("\"keys: 15\""), std::string::npos);
}

TEST(WheelMaking, WritesNothingForARefusedRequestOrAStopBeforeAnyWheel) {
    const std::filesystem::path folder = freshTestFolder("wheel_making_refused");
    WheelMaking making;
    making.request = wheelCoverRequest({rangeMask(1, 10), uint64_t{1} << 11, 3, 5});  // a key outside the pool
    making.target = folder / "w.txt";
    making.shownName = "w.txt";
    const WheelMade refused = makeWheel(making, WriteObserver{});
    EXPECT_TRUE(refused.search.requestFault.refused());
    EXPECT_FALSE(refused.written());
    EXPECT_FALSE(std::filesystem::exists(folder / "w.txt"));
}

TEST(PublishedWheels, EveryRowOfTheDataFileAndNoOther) {
    std::ifstream file(QUILLSTEP_SOURCE_DIR "/data/wheel_records.csv");
    ASSERT_TRUE(file);
    std::string line;
    std::getline(file, line);  // the header
    int rows = 0;
    while (std::getline(file, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        std::string numbers, hits, drawn, best, bound;
        std::getline(fields, numbers, ',');
        std::getline(fields, hits, ',');
        std::getline(fields, drawn, ',');
        std::getline(fields, best, ',');
        std::getline(fields, bound, ',');
        const auto row = publishedWheel(std::stoi(numbers), std::stoi(hits), std::stoi(drawn));
        ASSERT_TRUE(row) << line;
        EXPECT_EQ(row->bestKnown, std::stoll(best)) << line;
        if (bound.empty())
            EXPECT_FALSE(row->lowerBound) << line;
        else
            EXPECT_EQ(row->lowerBound, std::stoll(bound)) << line;
        ++rows;
    }
    EXPECT_GT(rows, 100);
    EXPECT_FALSE(publishedWheel(40, 4, 4));
    EXPECT_FALSE(publishedWheel(20, 6, 4));
}

}  // namespace
}  // namespace quillstep

// CTest label: threads
// The wheel file: checked, written in the system-file form with the pool, keys and guarantee in its
// header, read back by the system-file reader as the same tickets; a wheel with a hole, a ticket
// outside the pool or too many tickets for a reader leaves the previous file as it was.

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "support/full_wheel.h"
#include "files/system_file_reader.h"
#include "files/wheel_file_writer.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

uint64_t rangeMask(int a, int b) {
    uint64_t mask = 0;
    for (int v = a; v <= b; ++v) mask |= uint64_t{1} << v;
    return mask;
}

WheelFileOutcome write(const WheelRequest& request, const std::vector<uint64_t>& tickets,
                       const std::filesystem::path& target) {
    return writeCheckedWheelFile({wheelCoverRequest(request), tickets, target, target.filename().string()}, {}, {});
}

TEST(WheelFileWriter, WritesTheHeaderAndThePoolsNumbersAndReadsBack) {
    const std::filesystem::path folder = freshTestFolder("wheel-file-");
    // 3,7,11-20 with the key 3, 3 if 4: the full wheel of the pool with the key.
    const WheelRequest request{(uint64_t{1} << 3) | (uint64_t{1} << 7) | rangeMask(11, 20), uint64_t{1} << 3, 3, 4};
    const std::vector<uint64_t> tickets = fullWheelOf(request);
    ASSERT_EQ(tickets.size(), 462u);  // C(11, 6)
    const WheelFileOutcome outcome = write(request, tickets, folder / WHEEL_FILE_NAME);
    ASSERT_TRUE(outcome.written()) << outcome.file.error;
    EXPECT_TRUE(outcome.check.covered());
    EXPECT_EQ(outcome.file.rows, 462);
    EXPECT_EQ(outcome.file.fileName, WHEEL_FILE_NAME);

    const std::string text = readFile(folder / WHEEL_FILE_NAME);
    const std::string header =
        "\"Marrowby - Quillstep\"\r\n\"wheel of 12 numbers\"\r\n\"pool: 3,7,11-20\"\r\n\"keys: 3\"\r\n"
        "\"guarantee: 3 if 4\"\r\n\r\n";
    ASSERT_EQ(text.substr(0, header.size()), header);
    // The first row: the pool's own numbers, not 1..7.
    EXPECT_EQ(text.substr(header.size(), text.find("\r\n", header.size()) + 2 - header.size()),
              "1,3,7,11,12,13,14,15\r\n");

    const SystemFileContents contents = readSystemFile(folder / WHEEL_FILE_NAME);
    ASSERT_TRUE(contents.ok()) << contents.error;
    ASSERT_EQ(contents.combinations.size(), tickets.size());
    for (size_t s = 0; s < tickets.size(); ++s) {
        EXPECT_EQ(combinationMask(contents.combinations[s]), tickets[s]) << s;
        EXPECT_EQ(contents.lines[s], static_cast<int64_t>(s) + 7);  // after five header lines and a blank one
    }
    // The pool line reads back as the pool in the form --pool takes.
    EXPECT_EQ(readNumberList("3,7,11-20", WheelField::Pool).numbers, request.pool);
}

TEST(WheelFileWriter, IsNotBoundToTheLinesOfTheG4AndG5Files) {
    const std::filesystem::path folder = freshTestFolder("wheel-file-");
    const WheelRequest request{rangeMask(1, 13), 0, 4, 7};
    const std::vector<uint64_t> tickets = fullWheelOf(request);  // C(13, 7) = 1716
    const WheelFileOutcome outcome = write(request, tickets, folder / "big.txt");
    ASSERT_TRUE(outcome.written()) << outcome.file.error;
    const std::string text = readFile(folder / "big.txt");
    EXPECT_NE(text.find("\"keys: none\"\r\n\"guarantee: 4 if 7\"\r\n"), std::string::npos);
    EXPECT_EQ(readSystemFile(folder / "big.txt").combinations.size(), 1716u);

    // As many tickets as a wheel file holds: the full wheel of 8 over and over, read back whole.
    const WheelRequest eight{rangeMask(1, 8), 0, 2, 2};
    const std::vector<uint64_t> full = fullWheelOf(eight);
    std::vector<uint64_t> most;
    while (static_cast<int64_t>(most.size()) < WHEEL_FILE_ROW_LIMIT) most.push_back(full[most.size() % full.size()]);
    const WheelFileOutcome largest = write(eight, most, folder / "most.txt");
    ASSERT_TRUE(largest.written()) << largest.file.error;
    EXPECT_EQ(readSystemFile(folder / "most.txt").combinations.size(), most.size());
}

TEST(WheelFileWriter, KeepsThePreviousFileWhenTheWheelIsNotChecked) {
    const std::filesystem::path folder = freshTestFolder("wheel-file-");
    const std::filesystem::path target = folder / WHEEL_FILE_NAME;
    {
        std::ofstream previous(target, std::ios::binary);
        previous << "previous\r\n";
    }
    const WheelRequest request{rangeMask(1, 10), 0, 3, 3};
    std::vector<uint64_t> tickets = fullWheelOf(request);

    // A hole: without every ticket that holds 8, 9 and 10 together, the draw 8,9,10 has no three hits.
    std::vector<uint64_t> holed;
    const uint64_t three = rangeMask(8, 10);
    for (uint64_t ticket : tickets)
        if ((ticket & three) != three) holed.push_back(ticket);
    const WheelFileOutcome withHole = write(request, holed, target);
    EXPECT_EQ(withHole.fault.reason, FaultReason::WheelUncovering);
    EXPECT_EQ(withHole.check.uncovered, 1);
    ASSERT_EQ(withHole.check.holes.size(), 1u);
    EXPECT_EQ(withHole.check.holes[0], three);

    // A ticket outside the pool.
    std::vector<uint64_t> outside = tickets;
    outside[5] = rangeMask(5, 11);
    const WheelFileOutcome refused = write(request, outside, target);
    EXPECT_EQ(refused.fault.reason, FaultReason::WheelUncovering);
    EXPECT_EQ(refused.check.ticketsRefused, 1);

    // More tickets than a system file may hold.
    const std::vector<uint64_t> tooMany(static_cast<size_t>(WHEEL_FILE_ROW_LIMIT) + 1, tickets[0]);
    EXPECT_EQ(write(request, tooMany, target).fault.reason, FaultReason::WheelTooLargeForFile);

    EXPECT_EQ(readFile(target), "previous\r\n");
}

}  // namespace
}  // namespace quillstep

// A system file is read back through the written file itself, before it replaces the old one:
// what another writer puts under the target's name meanwhile does not count.

#include "files/system_read_back.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t mask(std::initializer_list<int> numbers) {
    uint64_t m = 0;
    for (int v : numbers) m |= uint64_t{1} << v;
    return m;
}
const std::vector<uint64_t> TWO_ROWS{mask({1, 2, 3, 4, 5, 6, 7}), mask({1, 2, 3, 4, 8, 9, 10})};
const std::vector<uint64_t> FIRST_ROW{TWO_ROWS[0]};
const std::vector<uint64_t> NO_ROW;
const std::string HEADER = "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 10\"\r\n\"gar.:5 from 7 OK numbers\"\r\n\r\n";

class SystemReadBack : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-read-back-");
    }
    void TearDown() override { fs::remove_all(folder); }
    static void put(ReplacementFile& file, const std::string& text) { file.write(text.data(), text.size()); }
    fs::path folder;
};

TEST_F(SystemReadBack, ReadsTheWrittenFileNotWhatTheNameHoldsMeanwhile) {
    const fs::path target = folder / "mb_comb_file_ab5.txt";
    ReplacementFile file(target);
    ASSERT_TRUE(file.ok()) << file.error();
    put(file, HEADER + "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n");
    std::ofstream(target) << "another writer's file\r\n";  // lands under the name before this one's rename
    EXPECT_TRUE(readsBackAsSystem(file, TWO_ROWS));
    EXPECT_FALSE(readsBackAsSystem(file, FIRST_ROW));   // a row more than the system
    EXPECT_FALSE(readsBackAsSystem(file, {TWO_ROWS[1], TWO_ROWS[0]}));  // another order
    EXPECT_FALSE(readsBackAsSystem(file, {TWO_ROWS[0], mask({1, 2, 3, 4, 8, 9, 11})}));  // other numbers
    ASSERT_TRUE(file.commit());
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), HEADER + "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n");
}

TEST_F(SystemReadBack, ATornOrMalformedFileDoesNotReadBack) {
    ReplacementFile torn(folder / "torn.txt");
    put(torn, HEADER + "1,1,2,3,4,5,6,7\r\n2,1,2,3");
    EXPECT_FALSE(readsBackAsSystem(torn, TWO_ROWS));
    ReplacementFile empty(folder / "empty.txt");
    EXPECT_TRUE(readsBackAsSystem(empty, NO_ROW));
    EXPECT_FALSE(readsBackAsSystem(empty, FIRST_ROW));
    torn.discard();
    EXPECT_FALSE(readsBackAsSystem(torn, NO_ROW));  // nothing left to read: not taken as an empty system
}

}  // namespace
}  // namespace quillstep

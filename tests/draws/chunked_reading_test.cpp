// Both readers of text files of numbers read bytes in chunks as they read a whole text, and give
// their "could not be read" result when the bytes stop coming.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "files/system_file_reader.h"
#include "draws/history_reader.h"

namespace quillstep {
namespace {

// Hands `text` out `chunk` bytes at a time; after `failAfter` bytes (when set) reports a read error.
struct ChunkSource {
    std::string text;
    size_t chunk;
    size_t failAfter = std::string::npos;
    size_t given = 0;
    int64_t operator()(char* buffer, size_t size) {
        if (given >= failAfter) return -1;
        const size_t n = std::min({size, chunk, text.size() - given});
        std::memcpy(buffer, text.data() + given, n);
        given += n;
        return static_cast<int64_t>(n);
    }
};

const std::string SYSTEM_TEXT = "\"FULL SYSTEM 7/ 10\"\r\n1,1,2,3,4,5,6,7\r\n2,1,2,3,4,5,6,8\r\n3,2,3,4,5,6,7,9\r\n";
const std::string HISTORY_TEXT = "Date;N1;N2;N3;N4;N5;N6;N7\n2024-01-06;3;9;14;22;30;31;39\n2024-01-13;1;2;3;4;5;6;7\n";

TEST(ChunkedReading, ChunksGiveWhatTheWholeTextGives) {
    const SystemFileContents whole = parseSystemFileText(SYSTEM_TEXT);
    ASSERT_TRUE(whole.ok()) << whole.error;
    const HistoryReading wholeHistory = parseHistoryText(HISTORY_TEXT);
    ASSERT_TRUE(wholeHistory.ok()) << wholeHistory.error;
    for (const size_t chunk : {size_t{1}, size_t{3}, size_t{7}, size_t{4096}}) {
        const SystemFileContents read = readSystemFileFrom(ChunkSource{SYSTEM_TEXT, chunk});
        EXPECT_TRUE(read.ok()) << chunk;
        EXPECT_EQ(read.combinations, whole.combinations) << chunk;
        EXPECT_EQ(read.lines, whole.lines) << chunk;
        const HistoryReading history = readHistoryFrom(ChunkSource{HISTORY_TEXT, chunk});
        ASSERT_TRUE(history.ok()) << chunk << ": " << history.error;
        ASSERT_EQ(history.history.draws.size(), wholeHistory.history.draws.size()) << chunk;
        for (size_t d = 0; d < history.history.draws.size(); ++d)
            EXPECT_EQ(history.history.draws[d].mask, wholeHistory.history.draws[d].mask) << chunk << " " << d;
    }
}

TEST(ChunkedReading, BytesThatStopComingGiveTheUnreadableResult) {
    for (const size_t failAfter : {size_t{0}, size_t{5}, size_t{30}}) {
        const SystemFileContents read = readSystemFileFrom(ChunkSource{SYSTEM_TEXT, 4, failAfter});
        EXPECT_EQ(read.error, "the file could not be read") << failAfter;
        EXPECT_TRUE(read.combinations.empty()) << failAfter;
        const HistoryReading history = readHistoryFrom(ChunkSource{HISTORY_TEXT, 4, failAfter});
        EXPECT_EQ(history.error, "the file could not be read") << failAfter;
        EXPECT_TRUE(history.unreadable) << failAfter;
        EXPECT_TRUE(history.history.draws.empty()) << failAfter;
    }
}

}  // namespace
}  // namespace quillstep

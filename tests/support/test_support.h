#pragma once
// Helpers that several test files share: a fresh folder per test, a file's whole text, the
// store of a generation mode as masks, and distinct random combinations.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/replacement_file.h"
#include "usecases/store_masks.h"
#include "engine/run.h"
#include "engine/shared_state.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {

// Whether the tests run in the ThreadSanitizer build, which slows threads about tenfold.
#if defined(__SANITIZE_THREAD__)
inline constexpr bool UNDER_THREAD_SANITIZER = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
inline constexpr bool UNDER_THREAD_SANITIZER = true;
#else
inline constexpr bool UNDER_THREAD_SANITIZER = false;
#endif
#else
inline constexpr bool UNDER_THREAD_SANITIZER = false;
#endif

// A case that holds threads to a time limit (a step budget that must end before it, a stop on
// time), or that would take minutes at that pace, skips itself in the ThreadSanitizer build;
// the threads it starts run there in the other cases of its file.
#define QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER(why) \
    if (::quillstep::UNDER_THREAD_SANITIZER) GTEST_SKIP() << "under ThreadSanitizer: " << (why)

// The words of a command line separated by single blanks, as a shell would hand them over.
inline std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < line.size()) {
        const size_t space = line.find(' ', start);
        out.push_back(line.substr(start, space == std::string::npos ? std::string::npos : space - start));
        if (space == std::string::npos) break;
        start = space + 1;
    }
    return out;
}

// "<temporary folder>/<prefix><name of the running test>-<process id>", emptied and created: two
// test runs at once (a sanitizer build beside the plain one) never share a folder.
inline std::filesystem::path freshTestFolder(const std::string& prefix) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        (prefix + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
         std::to_string(currentProcessId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// The bytes of the file, or "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The combinations that a storing run of `mode` leaves with the default parameters, as masks.
inline std::vector<uint64_t> storeOfMode(int mode) {
    auto state = createSharedState();
    HeadlessPlatform platform;
    runGeneration(*state, platform, mode);
    return combinationMasks(*state);
}

// `count` distinct random combinations of 1..totalNumbers (as masks, bit v for number v), in
// increasing order.
inline std::vector<uint64_t> randomDistinctCombinations(uint32_t seed, int totalNumbers, size_t count) {
    std::mt19937 random(seed);
    std::set<uint64_t> chosen;
    while (chosen.size() < count) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % totalNumbers);
        chosen.insert(mask);
    }
    return {chosen.begin(), chosen.end()};
}

}  // namespace quillstep

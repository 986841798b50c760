#include "wheels/optimiser/relation_memory.h"

#include <algorithm>

namespace quillstep {
namespace {

constexpr int32_t SAMPLED_CANDIDATES = 1024;
constexpr int64_t CHUNK_BYTES = int64_t{8} << 20;  // a part's chunk of lists (cover_relation.cpp)
constexpr int64_t LIST_ARRAY_BYTES = 2 * sizeof(void*) + sizeof(int32_t);  // begins, ends, sizes

}  // namespace

int64_t subsetIndexBytes(int32_t count, int hits, uint64_t numbersUsed) {
    return int64_t{4} * (rankBound(numbersUsed, hits) + 1) + int64_t{4} * count * binomial(NUMBERS_PER_COMBINATION, hits);
}

int64_t leastRelationBytes(int32_t count, int hits, uint64_t numbersUsed, double pairs) {
    constexpr double MOST_BYTES = 4.0e18;  // beyond any memory, and still an int64_t
    const double lists = std::min(MOST_BYTES, 2.0 * std::max(0.0, pairs) + double{LIST_ARRAY_BYTES} * count);
    return subsetIndexBytes(count, hits, numbersUsed) + static_cast<int64_t>(lists) + SEARCH_ROOM_BYTES;
}

int64_t relationBytes(const RelationSources& sources, int32_t candidateCount, int32_t targetCount, unsigned parts) {
    if (candidateCount <= 0) return 0;
    const int32_t sampled = std::min(candidateCount, SAMPLED_CANDIDATES);
    int64_t entries = 0;
    for (int32_t k = 0; k < sampled; ++k) {
        const int32_t c = static_cast<int32_t>(int64_t{candidateCount} * k / sampled);
        forEachCoveredTarget(sources.targets, sources.index, sources.candidates[c], [&](int32_t) { ++entries; });
    }
    const int64_t listUnits = entries * candidateCount / sampled;  // gaps below 65536 take one unit each
    const bool bothDirections = sources.candidates != sources.targets;
    int64_t bytes = 2 * listUnits * (bothDirections ? 2 : 1);
    bytes += LIST_ARRAY_BYTES * (int64_t{candidateCount} + (bothDirections ? targetCount : 0));
    if (bothDirections) bytes += int64_t{12} * targetCount;  // addReverseLists' own arrays
    bytes += CHUNK_BYTES * parts;
    return bytes + bytes / 10;
}

}  // namespace quillstep

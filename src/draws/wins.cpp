#include "draws/wins.h"

#include <bit>

#include "base/processor.h"

namespace quillstep {
namespace {

// Every line against every draw: the hits of each line counted by class, each draw's best line.
// Inlined into a variant for processors with a population-count instruction and a portable one.
[[gnu::always_inline]] inline void scanDraws(const WinsRequest& request, WinsResult& result) {
    const uint64_t* const lines = request.lines;
    const int64_t lineCount = request.lineCount;
    for (const PastDraw& draw : request.history->draws) {
        const uint64_t mask = draw.mask;
        // Per draw in 32-bit counters, two sets taken in turn so that neighbouring lines with the
        // same hits do not wait on each other.
        uint32_t hits[2][8] = {};
        int best = -1;
        int64_t bestAt = 0;
        for (int64_t k = 0; k < lineCount; ++k) {
            const int h = std::popcount(lines[k] & mask);
            ++hits[k & 1][h];
            if (h > best) {
                best = h;
                bestAt = k;
            }
        }
        for (size_t h = 0; h < 8; ++h) result.lineHits[h] += hits[0][h] + hits[1][h];
        if (best >= 0) ++result.drawsByBestMatch[static_cast<size_t>(best)];
        result.bestLine.push_back(static_cast<int32_t>(bestAt));
        result.bestMatch.push_back(static_cast<int8_t>(best < 0 ? 0 : best));
    }
}

void scanDrawsPortable(const WinsRequest& request, WinsResult& result) { scanDraws(request, result); }

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt"))) void scanDrawsPopcnt(const WinsRequest& request, WinsResult& result) {
    scanDraws(request, result);
}
#else
void scanDrawsPopcnt(const WinsRequest& request, WinsResult& result) { scanDraws(request, result); }
#endif

}  // namespace

WinsResult systemWinsOverHistory(const WinsRequest& request) {
    WinsResult result;
    const std::vector<PastDraw>& draws = request.history->draws;
    result.draws = static_cast<int64_t>(draws.size());
    result.lines = request.lineCount;
    result.bestLine.reserve(draws.size());
    result.bestMatch.reserve(draws.size());
    if (processorHasPopcnt())
        scanDrawsPopcnt(request, result);
    else
        scanDrawsPortable(request, result);
    if (request.prices) {
        result.priced = true;
        result.costHundredths = request.lineCount * request.prices->ticketHundredths * result.draws;
        for (size_t h = 0; h < 8; ++h) result.wonHundredths += result.lineHits[h] * request.prices->prizeHundredths[h];
    }
    return result;
}

}  // namespace quillstep

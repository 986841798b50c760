// The check of a system compares every stored combination with every system combination: the
// numbers two combinations share are one AND and one population count of their masks, and the
// best of them over the whole system is the stored combination's hit. Nothing is skipped, no
// order is assumed and nothing is shared with the searches, so a fault in a search cannot hide
// itself here. The stored combinations are split into consecutive chunks, one per thread; each
// chunk keeps its own counts and its first holes, and the chunks are joined in store order.
//
// When only coverage is wanted, a second way answers the same question faster on large stores:
// a stored combination shares at least t numbers with a member exactly when one of its C(7, t)
// t-subsets is a t-subset of that member, so the members' t-subsets go into a bitmap by rank and
// each stored combination looks up its own. Membership is then a search among the sorted members.

#include "wheels/check/independent_system_check.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "wheels/subsets.h"
#include "base/worker_threads.h"
#include "base/processor.h"

namespace quillstep {
namespace {

// What one scan needs: the stored combinations, the system, the guarantee and the options.
struct CheckInput {
    const uint64_t* stored = nullptr;
    int64_t storedCount = 0;
    const uint64_t* system = nullptr;
    int64_t systemSize = 0;
    int guaranteedHits = 4;
    int highestNumber = 39;
    size_t holesKept = 10;
    unsigned threads = 0;
    bool bestMatchWanted = true;
};

constexpr int64_t SMALLEST_CHUNK = 4096;  // fewer stored combinations per thread are not worth a thread

struct ChunkResult {
    std::array<int64_t, 8> bestMatchCounts{};
    int64_t uncovered = 0;
    std::vector<int64_t> holes;
    std::vector<char> memberStored;  // per system index
};

// The system's masks sorted, each with its system index, to find the members equal to a stored one.
using SortedMembers = std::vector<std::pair<uint64_t, int64_t>>;

// Hit profile and membership of stored combinations [begin, end). Inlined into the two entry
// points below, so that each gets the population count of its own instruction set.
[[gnu::always_inline]] inline void scanChunk(const CheckInput& request, const SortedMembers& sorted,
                                             int64_t begin, int64_t end, ChunkResult& out) {
    const uint64_t* system = request.system;
    const int64_t size = request.systemSize;
    for (int64_t j = begin; j < end; ++j) {
        const uint64_t stored = request.stored[j];
        int best = 0;
        for (int64_t s = 0; s < size; ++s) best = std::max(best, std::popcount(stored & system[s]));
        best = std::min(best, NUMBERS_PER_COMBINATION);
        ++out.bestMatchCounts[static_cast<size_t>(best)];
        if (best < request.guaranteedHits) {
            ++out.uncovered;
            if (out.holes.size() < request.holesKept) out.holes.push_back(j);
        }
        if (best == NUMBERS_PER_COMBINATION) {
            auto equal = std::lower_bound(sorted.begin(), sorted.end(), std::pair<uint64_t, int64_t>{stored, 0});
            for (; equal != sorted.end() && equal->first == stored; ++equal)
                out.memberStored[static_cast<size_t>(equal->second)] = 1;
        }
    }
}

// The highest number and the guarantee the bitmap of t-subsets serves: C(40, 5) bits at most.
constexpr int HIGHEST_NUMBER_BY_SUBSETS = 40;

// Rank of the t-subset {numbers[p] : p in positions} (numbers ascending, from 1) among all
// t-subsets of 1..HIGHEST_NUMBER_BY_SUBSETS: the sum of C(number - 1, i + 1).
int64_t subsetRank(const int* numbers, const int* positions, int t) {
    int64_t rank = 0;
    for (int i = 0; i < t; ++i) rank += binomial(numbers[positions[i]] - 1, i + 1);
    return rank;
}

// The C(7, t) ways to pick t of the seven positions, t positions each.
std::vector<std::array<int, 7>> positionSubsets(int t) {
    std::vector<std::array<int, 7>> subsets;
    for (unsigned pick = 0; pick < 128; ++pick) {
        if (std::popcount(pick) != t) continue;
        std::array<int, NUMBERS_PER_COMBINATION> positions{};
        int k = 0;
        for (int p = 0; p < NUMBERS_PER_COMBINATION; ++p)
            if (pick >> p & 1) positions[static_cast<size_t>(k++)] = p;
        subsets.push_back(positions);
    }
    return subsets;
}

int numbersOf(uint64_t mask, int* numbers) {
    int count = 0;
    for (; mask != 0 && count < 64; mask &= mask - 1) numbers[count++] = std::countr_zero(mask);
    return count;
}

struct SubsetBitmap {
    int t = 0;
    std::vector<std::array<int, 7>> positions;
    std::vector<uint64_t> bits;

    bool holds(int64_t rank) const { return bits[static_cast<size_t>(rank >> 6)] >> (rank & 63) & 1; }
};

SubsetBitmap memberSubsets(const CheckInput& request) {
    SubsetBitmap bitmap;
    bitmap.t = request.guaranteedHits;
    bitmap.positions = positionSubsets(bitmap.t);
    bitmap.bits.assign(static_cast<size_t>(binomial(HIGHEST_NUMBER_BY_SUBSETS, bitmap.t) / 64 + 1), 0);
    int numbers[64];
    for (int64_t s = 0; s < request.systemSize; ++s) {
        // Members that are not seven numbers of the range cover nothing here; they are named apart.
        if (numbersOf(request.system[s], numbers) != NUMBERS_PER_COMBINATION || numbers[0] < 1 || numbers[6] > HIGHEST_NUMBER_BY_SUBSETS)
            continue;
        for (const auto& positions : bitmap.positions) {
            const int64_t rank = subsetRank(numbers, positions.data(), bitmap.t);
            bitmap.bits[static_cast<size_t>(rank >> 6)] |= uint64_t{1} << (rank & 63);
        }
    }
    return bitmap;
}

// Coverage and membership of stored combinations [begin, end) through the members' t-subsets.
void scanChunkBySubsets(const CheckInput& request, const SortedMembers& sorted, const SubsetBitmap& bitmap,
                        int64_t begin, int64_t end, ChunkResult& out) {
    int numbers[64];
    for (int64_t j = begin; j < end; ++j) {
        const uint64_t stored = request.stored[j];
        bool covered = false;
        if (numbersOf(stored, numbers) == NUMBERS_PER_COMBINATION && numbers[0] >= 1 && numbers[6] <= HIGHEST_NUMBER_BY_SUBSETS) {
            for (const auto& positions : bitmap.positions) {
                if (bitmap.holds(subsetRank(numbers, positions.data(), bitmap.t))) {
                    covered = true;
                    break;
                }
            }
        }
        if (!covered) {
            ++out.uncovered;
            if (out.holes.size() < request.holesKept) out.holes.push_back(j);
            continue;
        }
        auto equal = std::lower_bound(sorted.begin(), sorted.end(), std::pair<uint64_t, int64_t>{stored, 0});
        for (; equal != sorted.end() && equal->first == stored; ++equal)
            out.memberStored[static_cast<size_t>(equal->second)] = 1;
    }
}

// Whether the subsets' way can answer: coverage only, a guarantee of 1 to 7, numbers up to 40.
bool checkBySubsets(const CheckInput& request) {
    return !request.bestMatchWanted && request.guaranteedHits >= 1 && request.guaranteedHits <= NUMBERS_PER_COMBINATION &&
           request.highestNumber <= HIGHEST_NUMBER_BY_SUBSETS;
}

void scanChunkPortable(const CheckInput& request, const SortedMembers& sorted, int64_t begin, int64_t end,
                       ChunkResult& out) {
    scanChunk(request, sorted, begin, end, out);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt"))) void scanChunkPopcnt(const CheckInput& request,
                                                       const SortedMembers& sorted, int64_t begin, int64_t end,
                                                       ChunkResult& out) {
    scanChunk(request, sorted, begin, end, out);
}

#else
void scanChunkPopcnt(const CheckInput& request, const SortedMembers& sorted, int64_t begin, int64_t end,
                     ChunkResult& out) {
    scanChunk(request, sorted, begin, end, out);
}
#endif

bool isWellFormed(uint64_t member, int highestNumber) {
    const uint64_t allowed = numbersUpTo(highestNumber);
    return std::popcount(member) == NUMBERS_PER_COMBINATION && (member & ~allowed) == 0;
}

unsigned threadCount(const CheckInput& request) {
    const unsigned wanted = workerThreadCount(request.threads);
    const int64_t useful = std::max<int64_t>(1, request.storedCount / SMALLEST_CHUNK);
    return static_cast<unsigned>(std::min<int64_t>(wanted, useful));
}

}  // namespace

SystemCheck checkSystem(const CoverRequest& asked, const std::vector<uint64_t>& members,
                        const SystemCheckOptions& options) {
    const CheckInput request{asked.stored,  asked.storedCount,   members.data(),         static_cast<int64_t>(members.size()),
                             asked.hits,    asked.highestNumber(), options.holesKept,    asked.threads,
                             options.bestMatchWanted};
    SystemCheck check;
    check.storedCount = std::max<int64_t>(0, request.storedCount);
    check.systemSize = std::max<int64_t>(0, request.systemSize);

    SortedMembers sorted;
    sorted.reserve(static_cast<size_t>(check.systemSize));
    for (int64_t s = 0; s < check.systemSize; ++s) {
        sorted.emplace_back(request.system[s], s);
        if (!isWellFormed(request.system[s], request.highestNumber)) check.malformedMembers.push_back(s);
    }
    std::sort(sorted.begin(), sorted.end());

    const unsigned threads = threadCount(request);
    std::vector<ChunkResult> chunks(threads);
    for (ChunkResult& chunk : chunks) chunk.memberStored.assign(static_cast<size_t>(check.systemSize), 0);
    const auto scan = processorHasPopcnt() ? scanChunkPopcnt : scanChunkPortable;
    const bool bySubsets = checkBySubsets(request);
    const SubsetBitmap bitmap = bySubsets ? memberSubsets(request) : SubsetBitmap{};
    const auto chunkBegin = [&](unsigned t) { return check.storedCount * t / threads; };
    WorkerRun run;
    run.parts = threads;
    run.work = [&](unsigned t) {
        if (bySubsets)
            scanChunkBySubsets(request, sorted, bitmap, chunkBegin(t), chunkBegin(t + 1), chunks[t]);
        else
            scan(request, sorted, chunkBegin(t), chunkBegin(t + 1), chunks[t]);
    };
    runWorkers(run);

    std::vector<char> memberStored(static_cast<size_t>(check.systemSize), 0);
    for (const ChunkResult& chunk : chunks) {
        for (size_t k = 0; k < check.bestMatchCounts.size(); ++k) check.bestMatchCounts[k] += chunk.bestMatchCounts[k];
        check.uncovered += chunk.uncovered;
        for (int64_t hole : chunk.holes)
            if (check.holes.size() < request.holesKept) check.holes.push_back(hole);
        for (size_t s = 0; s < memberStored.size(); ++s) memberStored[s] |= chunk.memberStored[s];
    }
    for (size_t s = 0; s < memberStored.size(); ++s)
        if (!memberStored[s]) check.membersNotStored.push_back(static_cast<int64_t>(s));
    return check;
}

}  // namespace quillstep

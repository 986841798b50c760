// The check of a system compares every stored combination with every system combination: the
// numbers two combinations share are one AND and one population count of their masks, and the
// best of them over the whole system is the stored combination's hit. Nothing is skipped, no
// order is assumed and nothing is shared with the searches, so a fault in a search cannot hide
// itself here. The stored combinations are split into consecutive chunks, one per thread; each
// chunk keeps its own counts and its first holes, and the chunks are joined in store order.

#include "wheels/check/independent_system_check.h"

#include <algorithm>
#include <bit>
#include <thread>
#include <utility>

namespace quillstep {
namespace {

constexpr int NUMBERS_PER_COMBINATION = 7;
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
[[gnu::always_inline]] inline void scanChunk(const SystemCheckRequest& request, const SortedMembers& sorted,
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

void scanChunkPortable(const SystemCheckRequest& request, const SortedMembers& sorted, int64_t begin, int64_t end,
                       ChunkResult& out) {
    scanChunk(request, sorted, begin, end, out);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt"))) void scanChunkPopcnt(const SystemCheckRequest& request,
                                                       const SortedMembers& sorted, int64_t begin, int64_t end,
                                                       ChunkResult& out) {
    scanChunk(request, sorted, begin, end, out);
}

bool processorHasPopcnt() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt");
}
#else
void scanChunkPopcnt(const SystemCheckRequest& request, const SortedMembers& sorted, int64_t begin, int64_t end,
                     ChunkResult& out) {
    scanChunk(request, sorted, begin, end, out);
}
bool processorHasPopcnt() { return false; }
#endif

bool isWellFormed(uint64_t member, int highestNumber) {
    const uint64_t allowed = highestNumber >= 63 ? ~uint64_t{1} : ((uint64_t{2} << highestNumber) - 2);
    return std::popcount(member) == NUMBERS_PER_COMBINATION && (member & ~allowed) == 0;
}

unsigned threadCount(const SystemCheckRequest& request) {
    const unsigned wanted = request.threads != 0 ? request.threads : std::max(1u, std::thread::hardware_concurrency());
    const int64_t useful = std::max<int64_t>(1, request.storedCount / SMALLEST_CHUNK);
    return static_cast<unsigned>(std::min<int64_t>(wanted, useful));
}

}  // namespace

SystemCheck checkSystem(const SystemCheckRequest& request) {
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
    const auto chunkBegin = [&](unsigned t) { return check.storedCount * t / threads; };
    {
        std::vector<std::thread> workers;
        for (unsigned t = 1; t < threads; ++t)
            workers.emplace_back([&, t] { scan(request, sorted, chunkBegin(t), chunkBegin(t + 1), chunks[t]); });
        scan(request, sorted, chunkBegin(0), chunkBegin(1), chunks[0]);
        for (std::thread& worker : workers) worker.join();
    }

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

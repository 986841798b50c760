// Trying every starting combination, on worker threads, with a deterministic answer.
//
// Order of results. Each starting number s gives a key (size(s), s); the answer is the smallest
// key: the smallest size, and among equal sizes the lowest starting number - exactly what the
// loop in store order keeps, since it replaces its best only on a strictly smaller size. The key
// is packed as size * 2^32 + s into one 64-bit word, so "better" is "numerically smaller" and
// the shared best is a single atomic that only ever decreases.
//
// Cutting passes short. When the pass of s begins, let (B, b) be the best key known then. The
// system of a pass only grows, so once it holds L combinations its final size is at least L.
//   - If s > b, the key of s is smaller than (B, b) only if size(s) < B: once the system holds
//     B combinations, s cannot win, and the pass stops at L = B.
//   - If s < b, s wins on a tie: it cannot win only once size(s) > B, so L = B + 1.
// A pass stopped at L therefore has a key not smaller than (B, b), and since the shared best
// only decreases, not smaller than the final answer either: leaving it out changes nothing. A
// pass that ends below L, or at the capacity (1000, where every pass ends anyway), has its exact
// size and takes part. Whatever the timing of the threads, the minimum over the exact keys is the
// minimum over all keys, because the starting number that attains it is never cut (its key is
// smaller than every bound it can meet) - so the answer does not depend on the timing.
//
// Skipping the common beginning. The pass of starting number 1 is the plain greedy walk: its
// first combination is stored combination 1. Let b(0), b(1), ... be its system in order. The pass
// of another starting number s agrees with it up to the first b(j) that s covers: every stored
// combination before b(j) that the walk of 1 left out is covered by an earlier b, which the pass
// of s holds too, and every b(i) before b(j) is covered neither by an earlier b nor by s. So the
// pass of s holds s, b(0), ..., b(j-1) when its walk reaches b(j), and goes on from there. If s
// covers no b at all, the walk of 1 ended without reaching the capacity (the pass of 1 covers
// everything, s included), and the pass of s ends with s and the whole system of 1.
//
// Sixty-four at once. On the lane path (bit_lane_passes.h) a worker takes the next 64 starting numbers
// together and runs their passes in one walk, each with its own stop size from the best key known
// when the walk begins; the argument above holds lane by lane. The common beginning is not used
// there: every lane walks from the first stored combination.
//
// Stores where no pass can end below the capacity. When every pass is proven to reach the
// capacity, every key is (1000, s) and the smallest is (1000, 1): that is the answer, with every
// starting number counted as checked, and no pass needs to run.

#include "wheels/greedy/best_start_search.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <memory>
#include <new>
#include <optional>

#include "wheels/greedy/capacity_proof.h"
#include "wheels/greedy/bit_lane_passes.h"
#include "wheels/greedy/store_trie.h"
#include "base/worker_threads.h"

namespace quillstep {
namespace {

uint64_t packKey(int32_t size, int32_t start) {
    return (static_cast<uint64_t>(size) << 32) | static_cast<uint32_t>(start);
}
int32_t keySize(uint64_t key) { return static_cast<int32_t>(key >> 32); }
int32_t keyStart(uint64_t key) { return static_cast<int32_t>(key & 0xFFFFFFFFu); }

void lowerTo(std::atomic<uint64_t>& best, uint64_t key) {
    uint64_t current = best.load();
    while (key < current && !best.compare_exchange_weak(current, key)) {
    }
}


struct SharedSearch {
    SharedSearch(const std::vector<uint64_t>& masks, int guaranteedHits, PassKernel kernel)
        : masks(masks), guaranteedHits(guaranteedHits), kernel(kernel) {}

    const std::vector<uint64_t>& masks;
    const int guaranteedHits;
    const PassKernel kernel;
    const StoreTrie* trie = nullptr;   // the lane path's tree, or none on the scan path
    std::vector<int32_t> walkIndices;  // the system of starting number 1: store indices
    std::vector<uint64_t> walkMasks;   // and their masks
    std::atomic<int32_t> nextStart{1};
    std::atomic<uint64_t> best{packKey(NO_SYSTEM_YET_SIZE, 1)};
    StopFlag stop;  // raised by the calling thread's poll or by a failing worker

    int32_t count() const { return static_cast<int32_t>(masks.size()); }

    // The first of the next `how many` starting numbers for a worker, or 0 when there are none
    // left or a stop was asked for (which is honoured once starting number 1 has begun).
    int32_t claimStarts(int32_t howMany) {
        if (stop.load() && nextStart.load() > 1) return 0;
        const int32_t first = nextStart.fetch_add(howMany);
        return first > count() ? 0 : first;
    }
    int32_t startsBegun() const { return std::min(nextStart.load() - 1, count()); }
};

// The pass of request.startIndex, resumed where it leaves the walk of starting number 1.
int32_t passFromCommonBeginning(const SharedSearch& search, GreedyPassRequest& request) {
    const uint64_t start = search.masks[static_cast<size_t>(request.startIndex)];
    const int32_t walkSize = static_cast<int32_t>(search.walkMasks.size());
    int32_t j = 0;
    while (j < walkSize && std::popcount(start & search.walkMasks[static_cast<size_t>(j)]) < request.guaranteedHits)
        ++j;
    if (1 + j >= request.stopSize) return request.stopSize;  // the limit falls within the common part
    if (j == walkSize) return 1 + walkSize;
    request.systemMasks[0] = start;
    std::copy(search.walkMasks.begin(), search.walkMasks.begin() + j, request.systemMasks + 1);
    request.initialSize = 1 + j;
    request.firstCandidate = search.walkIndices[static_cast<size_t>(j)];
    return runGreedyPass(search.kernel, request);
}

void tryStartingNumbers(SharedSearch& search) {
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    GreedyPassRequest request;
    request.masks = search.masks.data();
    request.count = search.count();
    request.guaranteedHits = search.guaranteedHits;
    request.systemMasks = system.data();
    // A stop request is honoured between starting numbers.
    while (const int32_t start = search.claimStarts(1)) {
        const uint64_t best = search.best.load();
        request.startIndex = start - 1;
        request.stopSize = hopelessSize(start, keyStart(best), keySize(best));
        const int32_t size = passFromCommonBeginning(search, request);
        if (size < request.stopSize || size == ABBREVIATED_SYSTEM_CAPACITY) lowerTo(search.best, packKey(size, start));
    }
}

// The lane path's worker: 64 consecutive starting numbers per walk.
void tryStartBatches(SharedSearch& search, LaneCoverage& coverage) {
    LaneBatch batch;
    while (const int32_t first = search.claimStarts(PASS_LANES)) {
        const uint64_t best = search.best.load();
        batch.lanes = std::min(PASS_LANES, search.count() - first + 1);
        for (int lane = 0; lane < batch.lanes; ++lane) {
            batch.startIndex[lane] = first - 1 + lane;
            batch.stopSize[lane] = hopelessSize(first + lane, keyStart(best), keySize(best));
        }
        runLanePasses(*search.trie, search.masks, coverage, batch);
        for (int lane = 0; lane < batch.lanes; ++lane) {
            const int32_t size = batch.size[lane];
            if (size < batch.stopSize[lane] || size == ABBREVIATED_SYSTEM_CAPACITY)
                lowerTo(search.best, packKey(size, first + lane));
        }
    }
}

bool wantsLanes(StartSearchPath path, int guaranteedHits, size_t count) {
    if (!lanePassesHandle(guaranteedHits)) return false;
    if (path == StartSearchPath::Automatic) return count >= static_cast<size_t>(LANE_SEARCH_MIN_STORE);
    return path == StartSearchPath::Lanes;
}

// Whether the lanes beat the scan on this store. A walk costs about the same for every node of the
// tree; five hits also clear a 5.3 MB table per walk and end their passes sooner, so they pay only
// on stores whose combinations share their beginnings (no more tree nodes than combinations), such
// as the storing runs leave; scattered stores, such as random samples, are scanned at five hits.
bool lanesPayOff(const StoreTrie& trie, size_t count, int guaranteedHits) {
    if (guaranteedHits == 4) return true;
    size_t nodes = 0;
    for (int depth = trie.rootDepth; depth <= 6; ++depth) nodes += trie.followers[depth].size();
    return nodes <= count;
}

// The lane path's tree and one coverage table per worker (at most `workers`). Empty coverages
// when the store does not suit the tree or not even one table fits in memory: the scan runs then.
void prepareLanes(const std::vector<uint64_t>& masks, int guaranteedHits, StartSearchPath path, unsigned workers,
                  std::optional<StoreTrie>& trie, std::vector<std::unique_ptr<LaneCoverage>>& coverages) {
    try {
        trie = buildStoreTrie(masks, laneTrieRootDepth(guaranteedHits));
        if (!trie) return;
        if (path == StartSearchPath::Automatic && !lanesPayOff(*trie, masks.size(), guaranteedHits)) return;
        while (coverages.size() < workers) coverages.push_back(std::make_unique<LaneCoverage>(guaranteedHits));
    } catch (const std::bad_alloc&) {
        // A tree or a first table that does not fit leaves the scan; tables that do not all fit,
        // fewer workers.
    }
}

}  // namespace

int32_t hopelessSize(int32_t start, int32_t bestStart, int32_t bestSize) {
    const int64_t bound = start < bestStart ? int64_t{bestSize} + 1 : bestSize;
    return static_cast<int32_t>(std::min<int64_t>(bound, ABBREVIATED_SYSTEM_CAPACITY));
}

BestStart findBestStart(const std::vector<uint64_t>& masks, int guaranteedHits, const StartSearchOptions& options) {
    BestStart result;
    if (masks.empty()) return result;
    CapacityProof proof = CapacityProof::NotProven;
    if (options.answerProvenCapacityAtOnce) {
        CountingWork counting;
        counting.threads = options.threads;
        counting.stopRequested = options.stopRequested;
        counting.pollMilliseconds = options.pollMilliseconds;
        proof = proveEveryPassReachesCapacity(masks, guaranteedHits, ABBREVIATED_SYSTEM_CAPACITY, counting);
    }
    if (proof == CapacityProof::Proven) {
        result.bestSize = ABBREVIATED_SYSTEM_CAPACITY;
        result.startsChecked = static_cast<int32_t>(masks.size());
        if (options.onProgress) options.onProgress(result.startsChecked);
        return result;
    }
    SharedSearch search(masks, guaranteedHits, options.kernel);
    if (proof == CapacityProof::Stopped) search.stop.raise();  // asked during the proof: starting number 1 only
    unsigned wanted = workerThreadCount(options.threads);
    wanted = static_cast<unsigned>(std::min<int64_t>(wanted, search.count()));

    std::optional<StoreTrie> trie;
    std::vector<std::unique_ptr<LaneCoverage>> coverages;
    if (wantsLanes(options.path, guaranteedHits, masks.size()))
        prepareLanes(masks, guaranteedHits, options.path, wanted, trie, coverages);
    const bool lanes = !coverages.empty();
    if (lanes) {
        search.trie = &*trie;
        wanted = static_cast<unsigned>(coverages.size());
        result.pathUsed = StartSearchPath::Lanes;
    } else {
        trie.reset();
        search.walkIndices = greedySystemMembers(masks, 1, guaranteedHits, options.kernel);
        for (int32_t index : search.walkIndices) search.walkMasks.push_back(masks[static_cast<size_t>(index)]);
    }
    auto work = [&](unsigned worker) {
        if (lanes)
            tryStartBatches(search, *coverages[worker]);
        else
            tryStartingNumbers(search);
    };

    // The calling thread alone talks to the user: progress and stop requests, at every poll
    // interval, also while it runs the passes itself because no thread could be started.
    WorkerRun run;
    run.parts = wanted;
    run.work = work;
    run.poll = [&] {
        if (options.onProgress) options.onProgress(search.startsBegun());
        if (!search.stop.load() && options.stopRequested && options.stopRequested()) search.stop.raise();
    };
    run.pollInterval = std::chrono::milliseconds(options.pollMilliseconds);
    run.onFailure = [&] { search.stop.raise(); };
    runWorkers(run);

    result.startsChecked = search.startsBegun();  // every pass that began has ended
    result.stopped = result.startsChecked < search.count();
    if (options.onProgress) options.onProgress(result.startsChecked);
    const uint64_t best = search.best.load();
    result.bestStart = keyStart(best);
    result.bestSize = keySize(best);
    return result;
}

std::vector<int32_t> greedySystemMembers(const std::vector<uint64_t>& masks, int32_t startNumber, int guaranteedHits,
                                         PassKernel kernel) {
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    std::vector<int32_t> members(GREEDY_SYSTEM_ROOM);
    GreedyPassRequest request;
    request.masks = masks.data();
    request.count = static_cast<int32_t>(masks.size());
    request.guaranteedHits = guaranteedHits;
    request.startIndex = startNumber - 1;
    request.stopSize = ABBREVIATED_SYSTEM_CAPACITY;
    request.systemMasks = system.data();
    request.memberIndices = members.data();
    members.resize(static_cast<size_t>(runGreedyPass(kernel, request)));
    return members;
}

}  // namespace quillstep

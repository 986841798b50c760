#pragma once
// One greedy pass over the stored combinations, on combinations held as bit masks (bit v set for
// number v), so that the numbers two combinations share are one AND and one population count.
//
// A pass starts with one stored combination as its system, walks every stored combination in
// store order and adds each one that shares fewer than `guaranteedHits` numbers with every
// system combination. It ends when the walk is done or the system has reached `stopSize`
// combinations. The kernels below differ only in the instructions they use; their results are
// identical.

#include <cstdint>
#include <vector>

namespace quillstep {

// Room a pass needs in `systemMasks`: the capacity plus one vector of padding.
constexpr int32_t GREEDY_SYSTEM_ROOM = 1000 + 8;

struct GreedyPassRequest {
    const uint64_t* masks = nullptr;  // one mask per stored combination, in store order
    int32_t count = 0;                // stored combinations
    int32_t guaranteedHits = 4;
    int32_t startIndex = 0;           // store index (from 0) of the starting combination
    int32_t stopSize = 1000;          // the pass ends as soon as the system holds this many (1 to 1000)
    // Resuming: a pass whose first `initialSize` system entries (start included) are already in
    // `systemMasks` / `memberIndices` and whose walk goes on at `firstCandidate`.
    int32_t initialSize = 0;
    int32_t firstCandidate = 0;
    uint64_t* systemMasks = nullptr;    // GREEDY_SYSTEM_ROOM entries
    int32_t* memberIndices = nullptr;   // optional: store index of each system combination
};

enum class PassKernel { Portable, Popcnt, Avx2, Avx512 };

// Runs the pass and returns the system size it ended with (at most stopSize).
int32_t runGreedyPass(PassKernel kernel, const GreedyPassRequest& request);

// The kernels this processor can run, the portable one first, and the fastest of them.
std::vector<PassKernel> availablePassKernels();
// The fastest kernel this processor runs for `guaranteedHits`: without AVX-512 the plain POPCNT
// kernel beats the AVX2 one when few combinations cover at once (five hits).
PassKernel fastestPassKernel(int guaranteedHits = 4);
const char* passKernelName(PassKernel kernel);

// The kernel entry points, one per instruction set (each in its own translation unit).
int32_t greedyPassPortable(const GreedyPassRequest& request);
int32_t greedyPassPopcnt(const GreedyPassRequest& request);
int32_t greedyPassAvx2(const GreedyPassRequest& request);
int32_t greedyPassAvx512(const GreedyPassRequest& request);

}  // namespace quillstep

#pragma once
// The stores the benchmarks work on: one per generation mode with the default parameters at
// 39 numbers, generated once per process and kept until it ends.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"

namespace quillstep {

inline SharedState& storeOfMode(int mode) {
    static std::map<int, std::unique_ptr<SharedState>> stores;
    auto& state = stores[mode];
    if (!state) {
        state = createSharedState();
        HeadlessPlatform platform;
        runGeneration(*state, platform, mode);
    }
    return *state;
}

// The masks of storeOfMode(mode), in store order.
inline const std::vector<uint64_t>& masksOfMode(int mode) {
    static std::map<int, std::vector<uint64_t>> masks;
    auto& m = masks[mode];
    if (m.empty()) m = combinationMasks(storeOfMode(mode));
    return m;
}

}  // namespace quillstep

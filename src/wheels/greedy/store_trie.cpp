// Building the tree of common beginnings in one walk over the store.

#include "wheels/greedy/store_trie.h"

#include <algorithm>
#include <bit>

namespace quillstep {

std::optional<StoreTrie> buildStoreTrie(const std::vector<uint64_t>& masks, int rootDepth) {
    if (rootDepth < 3 || rootDepth > 6) return std::nullopt;
    StoreTrie trie;
    trie.rootDepth = rootDepth;
    std::array<uint8_t, 7> previous{};
    for (size_t index = 0; index < masks.size(); ++index) {
        uint64_t mask = masks[index];
        if (std::popcount(mask) != NUMBERS_PER_COMBINATION || (mask >> NUMBER_LIMIT) != 0) return std::nullopt;
        std::array<uint8_t, 7> numbers;
        for (auto& number : numbers) {
            number = static_cast<uint8_t>(std::countr_zero(mask));
            mask &= mask - 1;
        }
        // The first position where this combination leaves the previous one: every prefix from
        // there on is new. It must be left upwards, or the store is not in order.
        int differs = 0;
        if (index > 0) {
            while (differs < NUMBERS_PER_COMBINATION && numbers[differs] == previous[differs]) ++differs;
            if (differs == NUMBERS_PER_COMBINATION || numbers[differs] < previous[differs]) return std::nullopt;
        }
        for (int depth = std::max(differs + 1, rootDepth); depth <= 6; ++depth) {
            trie.followers[depth].push_back(0);
            trie.firstChild[depth].push_back(depth == 6 ? static_cast<int32_t>(index)
                                                        : static_cast<int32_t>(trie.followers[depth + 1].size()));
            if (depth == rootDepth) {
                std::array<uint8_t, 6> root{};
                for (int i = 0; i < rootDepth; ++i) root[i] = numbers[i];
                trie.rootNumbers.push_back(root);
            }
        }
        for (int depth = rootDepth; depth <= 6; ++depth) trie.followers[depth].back() |= uint64_t{1} << numbers[depth];
        previous = numbers;
    }
    return trie;
}

}  // namespace quillstep

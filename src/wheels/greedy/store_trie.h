#pragma once
// The stored combinations as a tree of their common beginnings.
//
// A store in lexicographic order lists every combination that begins with the same k numbers
// (its "prefix" of depth k) in one unbroken run. The tree keeps, for each prefix of depth
// `rootDepth` to 6 that occurs, which numbers follow it (a mask) and where the prefixes one
// deeper begin; at depth 6 the following numbers are the last numbers of stored combinations and
// "where they begin" is a store index. A walk through the tree in number order therefore meets
// the stored combinations in store order, and can pass over a whole run at once.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/lottery.h"

namespace quillstep {

struct StoreTrie {
    int rootDepth = 3;  // the depth of the first level: 3 to 6
    // Level d (rootDepth <= d <= 6), node j: the numbers that follow its prefix, and the index of
    // its first child in level d + 1 (at level 6: the store index of its first combination).
    std::array<std::vector<uint64_t>, 7> followers;
    std::array<std::vector<int32_t>, 7> firstChild;
    // The numbers of each root prefix, in order; only the first rootDepth are used.
    std::vector<std::array<uint8_t, 6>> rootNumbers;
};

// The tree of `masks` (one mask per stored combination, bit v for number v) from `rootDepth` on.
// Empty when the store is not one the tree can hold: a combination without exactly seven numbers,
// a number of NUMBER_LIMIT or more, or combinations not in strictly increasing lexicographic
// order (which also rules out one stored twice).
std::optional<StoreTrie> buildStoreTrie(const std::vector<uint64_t>& masks, int rootDepth);

}  // namespace quillstep

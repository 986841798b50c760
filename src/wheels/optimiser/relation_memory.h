#pragma once
// What the optimiser's covering relation will take, known before it is built, so that the
// optimiser chooses a path that fits in memory instead of failing half way (optimiser.cpp).

#include <cstdint>

#include "wheels/optimiser/cover_relation.h"

namespace quillstep {

// The bytes of the t-subset index over `count` combinations using the numbers `numbersUsed`.
int64_t subsetIndexBytes(int32_t count, int hits, uint64_t numbersUsed);

// The bytes of the relation between `candidateCount` candidates (sources.candidates) and the
// targets: the 16-bit lists, estimated from an even sample of the candidates, in one direction
// or, when the candidates are not the targets, both; the per-list arrays; the chunks the parts
// leave partly filled; and a tenth more for what the estimate misses.
int64_t relationBytes(const RelationSources& sources, int32_t candidateCount, int32_t targetCount, unsigned parts);

// The least the index and the relation over the stored combinations alone take, from the
// relation's pairs estimated before anything is built (one 16-bit unit per pair, one direction),
// with SEARCH_ROOM_BYTES: where even that cannot be had, the optimiser with a relation is no way.
int64_t leastRelationBytes(int32_t count, int hits, uint64_t numbersUsed, double pairs);

// Room kept besides the relation for the searches (per-target weights and counts per thread),
// the final check's bitmap and the rest of the program.
constexpr int64_t SEARCH_ROOM_BYTES = int64_t{64} << 20;

}  // namespace quillstep

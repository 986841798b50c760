#pragma once
// Checking an abbreviated system from scratch, with no help from the search that produced it:
// does every stored combination share at least guaranteedHits numbers with one system
// combination, is every system combination a stored one, and how well is each stored
// combination hit. Combinations are 64-bit masks (bit v for number v).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "wheels/cover/cover_request.h"

namespace quillstep {

// What the check reports beyond coverage and membership.
struct SystemCheckOptions {
    size_t holesKept = 10;  // how many uncovered stored combinations to list
    // False: only coverage and membership are wanted (the check before a file is written), so the
    // check may look each stored combination's subsets up instead of comparing it with every
    // member; bestMatchCounts then stay 0.
    bool bestMatchWanted = true;
};


struct SystemCheck {
    int64_t storedCount = 0;
    int64_t systemSize = 0;
    int64_t uncovered = 0;  // stored combinations that share fewer than guaranteedHits with every member
    // [k]: stored combinations whose best system combination shares exactly k numbers with them.
    std::array<int64_t, 8> bestMatchCounts{};
    std::vector<int64_t> holes;             // store indices (from 0) of the first uncovered, in store order
    std::vector<int64_t> membersNotStored;  // system indices (from 0) of members that are not stored
    std::vector<int64_t> malformedMembers;  // system indices of members that are not seven of the pool 1..N

    // The guarantee holds: every stored combination is covered by well-formed members, and unless
    // members may be any combination, every member is a stored combination.
    bool holds(bool membersMayBeAnyCombination) const {
        return uncovered == 0 && malformedMembers.empty() && (membersMayBeAnyCombination || membersNotStored.empty());
    }
};

// The request's targets are its stored combinations (in store order), its hits the guarantee, its
// pool the numbers 1..N a member may take, its threads the check's (0: one per hardware thread).
// `system` is checked in its own order.
SystemCheck checkSystem(const CoverRequest& request, const std::vector<uint64_t>& system,
                        const SystemCheckOptions& options = {});

}  // namespace quillstep

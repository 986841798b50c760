#pragma once
// The search for a small wheel on a pool of numbers (a "t if m" guarantee, with or without key
// numbers): as few tickets as it finds within the time limit such that every m numbers of the
// pool holding every key share at least t numbers with some ticket. Sets of numbers are 64-bit
// masks (bit v for number v), as in wheels/pool/wheel_request.h.
//
// The search reports only a wheel it has seen cover every target; its callers still check it
// with wheels/pool/wheel_check, which shares no code with it, before they report or write it.

#include <cstdint>
#include <functional>
#include <vector>

#include "wheels/cover/cover_model.h"
#include "wheels/cover/cover_request.h"
#include "wheels/pool/wheel_request.h"

namespace quillstep {



struct WheelSearchResult {
    WheelRefusal requestFault;      // a request that is not meaningful is not searched
    std::vector<uint64_t> tickets;  // the smallest covering wheel found, ascending masks
    bool stopped = false;           // ended by the stop request
    bool timeLimitReached = false;
    bool tooManyTickets = false;    // no wheel: the search keeps at most 65,535 tickets
    double seconds = 0.0;

    bool found() const { return !requestFault.refused() && !tickets.empty(); }
};

// The covering problem of a meaningful request: the pool without the keys as elements 0, 1, ...
// (in the order of their numbers), tickets of 7 - k of them, t - k hits if m - k are drawn.
cover::CoverModel wheelCoverModel(const WheelRequest& request);

// The request's targets are the pool's (no stored combinations, no fixed tickets); its start
// tickets are not used. An empty wheel only when the request is refused or the search was stopped
// before any covering wheel was complete.
WheelSearchResult searchWheel(const CoverRequest& request);

}  // namespace quillstep

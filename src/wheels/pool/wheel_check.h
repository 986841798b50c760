#pragma once
// The independent check of a wheel: given the request and the tickets, how many m-subsets of the
// pool that hold every key share fewer than t numbers with every ticket (the holes), and which
// are the first of them. Shares nothing with any search, so that a fault in a search cannot hide
// here; every wheel is checked by it before it is reported.
//
// Tickets that are not seven numbers of the pool holding every key are refused, by their index,
// before anything is counted.

#include <cstdint>
#include <functional>
#include <vector>

#include "wheels/pool/wheel_request.h"

namespace quillstep {

// How the check finds whether a target is covered. Both give the same answer (the tests hold them
// to a plain loop); Automatic takes the cheaper for the request.
enum class WheelCheckWay {
    Automatic,
    Intersections,  // each target against every ticket: one AND and one population count each
    Subsets,        // the tickets' t-subsets in a bitmap; each target looks its own C(m, t) up
};

struct WheelCheckSettings {
    size_t holesKept = 10;  // the first holes listed, in the order of their numbers
    WheelCheckWay way = WheelCheckWay::Automatic;
    // Polled about every 20 ms while the check runs; true ends it early (WheelCheck::stopped).
    std::function<bool()> stopRequested;
    // Targets checked so far and in all, from the same poll.
    std::function<void(int64_t checked, int64_t all)> onProgress;
};

// What is wrong with one ticket: its index (from 0) and its numbers.
enum class TicketFault { NotSevenNumbers, OutsidePool, MissingKey };
struct RefusedTicket {
    int64_t index = 0;
    uint64_t numbers = 0;
    TicketFault fault = TicketFault::NotSevenNumbers;
    uint64_t concerned = 0;  // OutsidePool: the numbers outside it; MissingKey: the keys missed
};

struct WheelCheck {
    WheelRefusal requestFault;  // a request that is not meaningful is not checked
    std::vector<RefusedTicket> refusedTickets;  // the first ten refused tickets (nothing counted then)
    int64_t ticketsRefused = 0;
    int64_t targets = 0;    // m-subsets of the pool holding every key
    int64_t tickets = 0;
    int64_t uncovered = 0;  // targets sharing fewer than t numbers with every ticket
    std::vector<uint64_t> holes;  // the first uncovered targets, in the order of their numbers
    bool stopped = false;         // a stop request ended it: uncovered and holes are partial

    bool checked() const { return !requestFault.refused() && ticketsRefused == 0 && !stopped; }
    bool covered() const { return checked() && uncovered == 0; }
};

// The request's targets are its pool's (wheelCoverRequest); its threads are the check's (0: one
// per hardware thread). Its time limit, progress and stop are the search's, not the check's.
WheelCheck checkWheel(const CoverRequest& request, const std::vector<uint64_t>& tickets,
                      const WheelCheckSettings& settings = {});

// How many targets the request has: C(P - k, m - k).
int64_t wheelTargetCount(const WheelRequest& request);

}  // namespace quillstep

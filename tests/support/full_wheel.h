#pragma once
// Every seven of a wheel request's pool holding its keys, made by a plain loop: a wheel that
// covers any request, for the tests of the wheel's writer and window.

#include <bit>
#include <cstdint>
#include <vector>

#include "wheels/pool/wheel_request.h"

namespace quillstep {

inline std::vector<uint64_t> fullWheelOf(const WheelRequest& request) {
    std::vector<int> pool;
    for (int v = 1; v <= 39; ++v)
        if (request.pool >> v & 1) pool.push_back(v);
    std::vector<uint64_t> tickets;
    for (uint64_t pick = 0; pick < (uint64_t{1} << pool.size()); ++pick) {
        if (std::popcount(pick) != 7) continue;
        uint64_t ticket = 0;
        for (size_t i = 0; i < pool.size(); ++i)
            if (pick >> i & 1) ticket |= uint64_t{1} << pool[i];
        if ((ticket & request.keys) == request.keys) tickets.push_back(ticket);
    }
    return tickets;
}

}  // namespace quillstep

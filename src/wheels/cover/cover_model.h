#pragma once
// One covering problem: targets (sets of m elements) to be covered by tickets (sets of k
// elements), a ticket covering a target when they share at least t elements. The targets are
// every m-subset of the elements 0 to n - 1 (a wheel on a pool of n numbers, keys taken out) or a
// list of stored sets; the tickets are any k of the n elements, and some tickets may be fixed
// (kept in every answer and never moved, as when a given system is completed).

#include <cstdint>
#include <vector>

namespace quillstep::cover {

constexpr int MOST_ELEMENTS = 64;
constexpr int MOST_TICKETS = 65535;  // cover counts are 16-bit

struct CoverModel {
    int elements = 0;    // n: tickets take their elements from 0 to n - 1
    int ticketSize = 7;  // k
    int hits = 0;        // t (1 to k)
    int targetSize = 0;  // m (t to 7)
    std::vector<uint64_t> storedTargets;  // empty: every m-subset of the n elements
    std::vector<uint64_t> fixedTickets;   // in every answer, never moved
};

// Whether the model can be searched: n up to 64, 1 <= t <= k < n, t <= m <= 7, m <= n, every
// stored target and fixed ticket of the right size within the elements.
bool isSearchable(const CoverModel& model);

}  // namespace quillstep::cover

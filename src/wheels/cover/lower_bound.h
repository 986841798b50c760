#pragma once
// A number of tickets no covering can go below, from counting alone: for t = m the bound of
// Schönheim, L(n, k, t) = ceil(n / k * L(n - 1, k - 1, t - 1)) with L(n, k, 1) = ceil(n / k);
// for m > t the targets divided by the most targets one ticket covers, rounded up. Never
// below 1. The searches end when they reach it.

#include <cstdint>

namespace quillstep::cover {

// n elements, tickets of k, t hits among m (1 <= t <= k < n, t <= m <= n).
int64_t coveringLowerBound(int n, int k, int t, int m);

}  // namespace quillstep::cover

#include "wheels/cover/lower_bound.h"

#include <algorithm>

#include "wheels/subsets.h"

namespace quillstep::cover {
namespace {

int64_t ceilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

int64_t schoenheim(int n, int k, int t) {
    if (t <= 1) return ceilDiv(n, k);
    return ceilDiv(static_cast<int64_t>(n) * schoenheim(n - 1, k - 1, t - 1), k);
}

}  // namespace

int64_t coveringLowerBound(int n, int k, int t, int m) {
    if (t == m) return std::max<int64_t>(1, schoenheim(n, k, t));
    int64_t mostCovered = 0;
    for (int shared = t; shared <= std::min(k, m); ++shared)
        mostCovered += binomial(k, shared) * binomial(n - k, m - shared);
    return std::max<int64_t>(1, ceilDiv(binomial(n, m), mostCovered));
}

}  // namespace quillstep::cover

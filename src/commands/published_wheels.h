#pragma once
// The best published size of a wheel on a pool of numbers without keys, by the pool's size and the
// guarantee, for display beside a wheel the program made ("best published: N"). The rows come from
// the repository's data/wheel_records.csv, made into a table when the build is configured. No
// search reads it: the sizes are shown, never aimed at.

#include <cstdint>
#include <optional>

namespace quillstep {

struct PublishedWheel {
    int64_t bestKnown = 0;
    std::optional<int64_t> lowerBound;  // where one is published
};

// The row of `numbers` numbers at "hits if drawn", or nothing when the table has none.
std::optional<PublishedWheel> publishedWheel(int numbers, int hits, int drawn);

}  // namespace quillstep

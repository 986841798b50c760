#include "commands/published_wheels.h"

#include <algorithm>
#include <iterator>

namespace quillstep {
namespace {

struct PublishedRow {
    int numbers;
    int hits;
    int drawn;
    int64_t bestKnown;
    int64_t lowerBound;  // -1: none published
};

constexpr PublishedRow PUBLISHED_ROWS[] = {
#include "published_wheel_rows.inc"
};

}  // namespace

std::optional<PublishedWheel> publishedWheel(int numbers, int hits, int drawn) {
    const auto row = std::find_if(std::begin(PUBLISHED_ROWS), std::end(PUBLISHED_ROWS), [&](const PublishedRow& r) {
        return r.numbers == numbers && r.hits == hits && r.drawn == drawn;
    });
    if (row == std::end(PUBLISHED_ROWS)) return std::nullopt;
    PublishedWheel wheel;
    wheel.bestKnown = row->bestKnown;
    if (row->lowerBound >= 0) wheel.lowerBound = row->lowerBound;
    return wheel;
}

}  // namespace quillstep

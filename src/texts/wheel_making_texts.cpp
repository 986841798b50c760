#include "texts/wheel_making_texts.h"

#include <bit>

#include "texts/fault_texts.h"
#include "texts/published_wheels.h"

namespace quillstep {

std::string wheelNotWrittenText(const WheelMade& made) { return faultText(made.fault()); }

namespace {

// Rows are for pools without keys: a wheel with keys has none.
std::optional<PublishedWheel> publishedRow(const WheelRequest& request) {
    if (request.keys != 0) return std::nullopt;
    return publishedWheel(std::popcount(request.pool), request.hits, request.drawn);
}

}  // namespace

std::string publishedWheelText(const WheelRequest& request) {
    const auto published = publishedRow(request);
    return published ? "best published: " + std::to_string(published->bestKnown) : std::string();
}

std::string publishedLowerBoundText(const WheelRequest& request) {
    const auto published = publishedRow(request);
    return published && published->lowerBound ? "lower bound: " + std::to_string(*published->lowerBound) : std::string();
}

}  // namespace quillstep

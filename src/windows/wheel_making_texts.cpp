#include "windows/wheel_making_texts.h"

#include <bit>

#include "commands/published_wheels.h"

namespace quillstep {

std::string wheelNotWrittenText(const WheelMade& made) {
    if (made.written()) return {};
    const WheelSearchResult& search = made.search;
    if (search.requestFault.refused()) return "the wheel was refused";
    if (!search.found())
        return search.stopped ? "stopped before any wheel covered every set of drawn numbers"
                              : "no wheel covered every set of drawn numbers in the time given";
    switch (made.file.fault) {
        case WheelFileFault::None:
            return {};
        case WheelFileFault::TooManyRows:
            return "the wheel has " + std::to_string(search.tickets.size()) + " tickets, more than the " +
                   std::to_string(WHEEL_FILE_ROW_LIMIT) + " a wheel file holds";
        case WheelFileFault::GuaranteeNotHeld:
            return "the check found " + std::to_string(made.file.check.uncovered) +
                   " sets of drawn numbers the wheel does not cover";
        case WheelFileFault::WriteFailed:
        case WheelFileFault::ReadBackDiffers:
            return made.file.file.error;
    }
    return {};
}

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

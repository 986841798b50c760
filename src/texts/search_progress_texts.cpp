#include "texts/search_progress_texts.h"

#include <cstdint>
#include <cstdio>

namespace quillstep {
namespace {

std::string shareText(const SearchProgressEstimate& estimate) {
    char share[32];
    std::snprintf(share, sizeof share, "%.1f%%", 100.0 * estimate.shareDone());
    return share;
}

// "251/s, about 2 h 21 min left" or "time left not known yet".
std::string rateAndTimeLeftText(const SearchProgressEstimate& estimate) {
    if (!estimate.rateKnown()) return "time left not known yet";
    const double rate = estimate.startsPerSecond;
    char rateText[32];
    std::snprintf(rateText, sizeof rateText, rate < 10 ? "%.1f/s" : "%.0f/s", rate);
    return std::string(rateText) + ", about " + durationText(estimate.secondsLeft()) + " left";
}

}  // namespace

std::string durationText(double seconds) {
    const int64_t whole = seconds < 0 ? 0 : static_cast<int64_t>(seconds + 0.5);
    const int64_t hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
    if (hours > 0) return std::to_string(hours) + " h " + std::to_string(minutes) + " min";
    if (minutes > 0) return std::to_string(minutes) + " min " + std::to_string(rest) + " s";
    return std::to_string(rest) + " s";
}

std::string searchProgressText(const SearchProgressEstimate& estimate) {
    return "progress: " + std::to_string(estimate.checked) + " of " + std::to_string(estimate.total) +
           " starting combinations (" + shareText(estimate) + "), " + rateAndTimeLeftText(estimate);
}

std::string searchProgressLabelText(const SearchProgressEstimate& estimate) {
    return shareText(estimate) + " done, " + rateAndTimeLeftText(estimate);
}

}  // namespace quillstep

#include "texts/smaller_systems_texts.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "texts/fault_texts.h"

namespace quillstep {

namespace {

constexpr const char* NOTHING_STORED_TEXT = "Nothing is stored: run a generation with storing first.";

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    return text;
}

// A reason given in lower case, as the command reports it, shown as a sentence of its own.
std::string asSentence(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

std::string combinationsText(int32_t count) {
    return std::to_string(count) + (count == 1 ? " combination" : " combinations");
}

std::string outsideFiltersText(const OptimiseOutcome& outcome) {
    if (outcome.outsideFilters == 0) return " Every one of them is a stored combination.";
    return " " + std::to_string(outcome.outsideFilters) + " of them lie outside the filters (not stored combinations).";
}

}  // namespace

std::string optimiserProgressText(const CoverProgress& progress) {
    const long secondsLeft = std::lround(std::ceil(std::max(0.0, progress.remainingSeconds)));
    const std::string best = progress.bestSize > 0 ? "Smallest system so far: " + combinationsText(progress.bestSize)
                                                   : std::string("No system found yet");
    return best + ", " + std::to_string(secondsLeft) + " s left. Escape stops the search.";
}

std::string optimiseFaultText(const OptimiseOutcome& outcome) {
    return faultText(outcome.fault, "the optimiser's system");
}

std::string optimiseOutcomeText(const OptimiseOutcome& outcome, const OptimiseSettings& settings) {
    const std::string why = optimiseFaultText(outcome);
    if (!outcome.searched) return why.empty() ? NOTHING_STORED_TEXT : asSentence(why);
    if (!outcome.verified || !outcome.written())
        return "No file written: " + (why.empty() ? std::string("the system did not pass its check.") : why) +
               (why.empty() || why.back() == '.' ? "" : ".");
    std::string text = "System of " + combinationsText(outcome.systemSize) + ", " +
                       std::to_string(settings.guaranteedHits) + " hits guaranteed, written to " +
                       outcome.systemFile.file.fileName + ".";
    text += outcome.stopped ? " Stopped by Escape after " + secondsText(outcome.seconds) + " s."
                            : " Searched for " + secondsText(outcome.seconds) + " s.";
    if (settings.anyCombination) text += outsideFiltersText(outcome);
    return text;
}

}  // namespace quillstep

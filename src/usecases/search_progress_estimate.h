#pragma once
// How far a G4/G5 search has come and how long the rest will take, from the numbers its progress
// callback reports (starting combinations checked of all) and a clock. The window's progress label
// and the command line's progress line both take their figures from here; the texts are made in
// windows/search_progress_texts.h.

#include <cstdint>
#include <optional>

namespace quillstep {

struct SearchProgressEstimate {
    int64_t checked = 0;            // starting combinations checked
    int64_t total = 0;              // starting combinations in all (the stored count)
    double startsPerSecond = 0.0;   // 0: not known yet

    // The share done, 0 to 1 (0 when there is nothing to check).
    double shareDone() const;
    bool rateKnown() const { return startsPerSecond > 0.0; }
    // The seconds the unchecked starts will take at the measured rate; meaningful when rateKnown().
    double secondsLeft() const;
};

// Measures the rate from the first report on, so that what the search does before its passes (the
// capacity proof, the store's tree) does not make the first estimates far too long.
class SearchRateMeter {
public:
    // A progress report at `seconds` of any clock that does not go backwards.
    SearchProgressEstimate onStartsChecked(int64_t checked, int64_t total, double seconds);

private:
    std::optional<int64_t> firstChecked_;
    double firstSeconds_ = 0.0;
};

}  // namespace quillstep

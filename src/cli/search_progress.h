#pragma once
// The abbreviated-system search's progress on the command line: starting combinations checked,
// the share done, the rate and the estimated time left, from the numbers the search reports
// every 50 starting combinations. On a terminal it is one line rewritten in place;
// elsewhere (a pipe, a file) a new line every few seconds.

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace quillstep {

struct CheckedStarts {
    int64_t checked = 0;
    int64_t total = 0;
};

// "12 s", "3 min 12 s", "2 h 21 min": a duration as a person reads it.
std::string durationText(double seconds);

// "progress: 229700 of 2363628 starting combinations (9.7%), 251/s, about 2 h 21 min left"; a rate
// of 0 or less is not known yet.
std::string searchProgressText(const CheckedStarts& starts, double startsPerSecond);

// Whether stderr is a terminal (not a pipe or a file).
bool standardErrorIsTerminal();

class SearchProgress {
public:
    using Clock = std::chrono::steady_clock;

    // `terminal`: rewrite one line in place; otherwise a line every `pipeInterval`. The rate is
    // measured from the first progress report on, so that what the search does before its passes
    // (the capacity proof, the store's tree) does not make the first estimates far too long.
    SearchProgress(std::ostream& out, bool terminal);

    // Every progress report of the search.
    void onStartsChecked(const CheckedStarts& starts, Clock::time_point now);
    // Ends the line being rewritten, if any, so that other output starts on a line of its own.
    void endLine();

    static constexpr std::chrono::milliseconds terminalInterval{250};
    static constexpr std::chrono::seconds pipeInterval{5};

private:
    std::ostream& out_;
    const bool terminal_;
    std::optional<CheckedStarts> firstStarts_;  // the first progress report and when it came
    Clock::time_point firstTime_;
    Clock::time_point lastShown_;
    bool shownOnce_ = false;
    size_t lineLength_ = 0;  // characters on the terminal line being rewritten (0: none)
};

}  // namespace quillstep

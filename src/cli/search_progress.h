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

#include "usecases/search_progress_estimate.h"
#include "texts/search_progress_texts.h"

namespace quillstep {

struct CheckedStarts {
    int64_t checked = 0;
    int64_t total = 0;
};

// Whether stderr is a terminal (not a pipe or a file).
bool standardErrorIsTerminal();

class SearchProgress {
public:
    using Clock = std::chrono::steady_clock;

    // `terminal`: rewrite one line in place; otherwise a line every `pipeInterval`. The figures
    // come from SearchRateMeter, as the window's progress label's do.
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
    SearchRateMeter meter_;
    std::optional<Clock::time_point> firstTime_;  // the clock's zero: the first progress report
    Clock::time_point lastShown_;
    bool shownOnce_ = false;
    size_t lineLength_ = 0;  // characters on the terminal line being rewritten (0: none)
};

}  // namespace quillstep

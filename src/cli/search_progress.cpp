#include "cli/search_progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quillstep {

bool standardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

SearchProgress::SearchProgress(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

void SearchProgress::onStartsChecked(const CheckedStarts& starts, Clock::time_point now) {
    if (!firstTime_) firstTime_ = now;
    const SearchProgressEstimate estimate =
        meter_.onStartsChecked(starts.checked, starts.total, std::chrono::duration<double>(now - *firstTime_).count());
    const auto interval = terminal_ ? Clock::duration(terminalInterval) : Clock::duration(pipeInterval);
    if (shownOnce_ && now - lastShown_ < interval) return;
    shownOnce_ = true;
    lastShown_ = now;
    const std::string line = searchProgressText(estimate);
    if (!terminal_) {
        out_ << line << std::endl;
        return;
    }
    // Blanks over whatever the longer line before left behind.
    out_ << '\r' << line << std::string(lineLength_ > line.size() ? lineLength_ - line.size() : 0, ' ') << std::flush;
    lineLength_ = line.size();
}

void SearchProgress::endLine() {
    if (lineLength_ == 0) return;
    out_ << std::endl;
    lineLength_ = 0;
}

}  // namespace quillstep

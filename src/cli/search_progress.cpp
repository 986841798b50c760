#include "cli/search_progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quillstep {

std::string durationText(double seconds) {
    const int64_t whole = seconds < 0 ? 0 : static_cast<int64_t>(seconds + 0.5);
    const int64_t hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
    if (hours > 0) return std::to_string(hours) + " h " + std::to_string(minutes) + " min";
    if (minutes > 0) return std::to_string(minutes) + " min " + std::to_string(rest) + " s";
    return std::to_string(rest) + " s";
}

std::string searchProgressText(const CheckedStarts& starts, double startsPerSecond) {
    char share[32];
    std::snprintf(share, sizeof share, "%.1f%%", starts.total > 0 ? 100.0 * starts.checked / starts.total : 0.0);
    std::string text = "progress: " + std::to_string(starts.checked) + " of " + std::to_string(starts.total) +
                       " starting combinations (" + share + "), ";
    if (startsPerSecond <= 0) return text + "time left not known yet";
    const double rate = startsPerSecond;
    char rateText[32];
    std::snprintf(rateText, sizeof rateText, rate < 10 ? "%.1f/s" : "%.0f/s", rate);
    return text + rateText + ", about " + durationText((starts.total - starts.checked) / rate) + " left";
}

bool standardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

SearchProgress::SearchProgress(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

void SearchProgress::onStartsChecked(const CheckedStarts& starts, Clock::time_point now) {
    if (!firstStarts_) firstStarts_ = starts, firstTime_ = now;
    const auto interval = terminal_ ? Clock::duration(terminalInterval) : Clock::duration(pipeInterval);
    if (shownOnce_ && now - lastShown_ < interval) return;
    shownOnce_ = true;
    lastShown_ = now;
    const double seconds = std::chrono::duration<double>(now - firstTime_).count();
    const int64_t checked = starts.checked - firstStarts_->checked;
    const std::string line = searchProgressText(starts, seconds > 0 && checked > 0 ? checked / seconds : 0.0);
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

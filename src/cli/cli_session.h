#pragma once
// What the commands of quillstep-cli work with while a line runs: the shared state, the standard
// output for the contract lines, the clock, and stderr for what is for people: a search's
// progress and the messages the window would show in a box ("message: ..."), whose texts come
// from the same functions the window's do (src/texts/).

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "base/local_clock.h"
#include "cli/search_progress.h"
#include "files/combination_file.h"
#include "engine/run_host.h"
#include "engine/shared_state.h"

namespace quillstep {

struct CliSession {
    CliSession(SharedState& sharedState, std::ostream& standardOutput) : state(sharedState), out(standardOutput) {}

    SharedState& state;
    std::ostream& out;
    // The clock of the runs, the writes and the counting.
    std::function<double()> clock = localTimeOfDaySeconds;
    // Called after a message is echoed and after each progress report of a search (tests listen
    // there, for example to raise a signal at a known point).
    std::function<void(const std::string&)> afterMessage;
    std::function<void(int32_t startsChecked, int32_t startsInAll)> afterSearchProgress;
    // The progress line while a search runs.
    std::optional<SearchProgress> progress;

    // A message of the window on stderr, after ending a search's progress line.
    void echoMessage(const std::string& text);
    // The writers' observer: this clock, and the message at the end of the write echoed.
    WriteObserver writeObserver();
};

// The host of a run on the command line: no window to grey out, no priority change, the session's clock.
class CliRunHost : public RunHost {
public:
    explicit CliRunHost(std::function<double()> clock) : clock_(std::move(clock)) {}
    void enableMainWindow(bool) override {}
    void setHighPriority(bool) override {}
    double timeOfDaySeconds() override { return clock_(); }

private:
    std::function<double()> clock_;
};

}  // namespace quillstep

#include "cli/search_progress.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quillstep {
namespace {

using Clock = SearchProgress::Clock;
using std::chrono::milliseconds;

TEST(CliSearchProgress, OnATerminalOneLineIsRewrittenAndEndedOnce) {
    std::ostringstream out;
    const Clock::time_point began{};
    SearchProgress progress(out, true);
    progress.onStartsChecked({50, 1000}, began + milliseconds(10000));
    progress.onStartsChecked({100, 1000}, began + milliseconds(10100));  // too soon: not shown
    progress.onStartsChecked({950, 1000}, began + milliseconds(20000));
    progress.endLine();  // the search is over
    progress.endLine();  // a message after the search: the line is already ended
    // The rate counts from the first progress report on: the 10 s before it went into the work
    // before the passes, which says nothing about their pace.
    const std::string first = "progress: 50 of 1000 starting combinations (5.0%), time left not known yet";
    const std::string second = "progress: 950 of 1000 starting combinations (95.0%), 90/s, about 1 s left";
    ASSERT_GT(first.size(), second.size());
    EXPECT_EQ(out.str(), "\r" + first + "\r" + second + std::string(first.size() - second.size(), ' ') + "\n");
}

TEST(CliSearchProgress, ElsewhereALineEveryFewSeconds) {
    std::ostringstream out;
    const Clock::time_point began{};
    SearchProgress progress(out, false);
    for (int step = 1; step <= 24; ++step)  // every half second
        progress.onStartsChecked({50 * step, 2400}, began + milliseconds(500 * step));
    progress.endLine();  // nothing to end in a pipe
    std::istringstream lines(out.str());
    std::vector<std::string> shown;
    for (std::string line; std::getline(lines, line);) shown.push_back(line);
    ASSERT_EQ(shown.size(), 3u);  // at 0.5 s, 5.5 s and 10.5 s
    EXPECT_EQ(shown[0], "progress: 50 of 2400 starting combinations (2.1%), time left not known yet");
    EXPECT_EQ(shown[1], "progress: 550 of 2400 starting combinations (22.9%), 100/s, about 19 s left");
    EXPECT_EQ(shown[2].rfind("progress: 1050 of 2400", 0), 0u);
    EXPECT_EQ(out.str().find('\r'), std::string::npos);
}

}  // namespace
}  // namespace quillstep

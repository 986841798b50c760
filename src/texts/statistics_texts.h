#pragma once
// The counting message of the statistics, for the statistics window and the command line's stats.

#include <cstdint>
#include <string>

namespace quillstep {

// " 330 combinations counted in: .001 seconds".
std::string countingMessageText(int32_t combinationsCounted, double seconds);

}  // namespace quillstep

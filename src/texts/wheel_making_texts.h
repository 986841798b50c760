#pragma once
// The texts of a wheel made (commands/wheel_making) for the window and the command line alike:
// why no file was written, and the best published size beside the wheel's.

#include <string>

#include "usecases/wheel_making.h"

namespace quillstep {

// Why `made` left no file, for example "no wheel covered every set of drawn numbers in the time
// given", "the wheel has 1000000 tickets, more than the 999994 a wheel file holds", or the writer's
// reason. Empty when the file was written.
std::string wheelNotWrittenText(const WheelMade& made);

// "best published: 20" for a request without keys whose row the table of published sizes holds;
// empty otherwise.
std::string publishedWheelText(const WheelRequest& request);
// "lower bound: 18" where the row has a published lower bound; empty otherwise.
std::string publishedLowerBoundText(const WheelRequest& request);

}  // namespace quillstep

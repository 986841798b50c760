#include "base/local_clock.h"

#include <chrono>
#include <ctime>

namespace quillstep {

double localTimeOfDaySeconds() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return (local.tm_hour * 3'600'000.0 + local.tm_min * 60'000.0 + local.tm_sec * 1'000.0 + double(ms)) / 1000.0;
}

}  // namespace quillstep

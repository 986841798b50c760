#include "usecases/search_progress_estimate.h"

namespace quillstep {

double SearchProgressEstimate::shareDone() const {
    return total > 0 ? static_cast<double>(checked) / static_cast<double>(total) : 0.0;
}

double SearchProgressEstimate::secondsLeft() const {
    if (!rateKnown()) return 0.0;
    const int64_t left = total > checked ? total - checked : 0;
    return static_cast<double>(left) / startsPerSecond;
}

SearchProgressEstimate SearchRateMeter::onStartsChecked(int64_t checked, int64_t total, double seconds) {
    if (!firstChecked_) {
        firstChecked_ = checked;
        firstSeconds_ = seconds;
    }
    SearchProgressEstimate estimate;
    estimate.checked = checked;
    estimate.total = total;
    const double elapsed = seconds - firstSeconds_;
    const int64_t checkedSince = checked - *firstChecked_;
    if (elapsed > 0.0 && checkedSince > 0) estimate.startsPerSecond = static_cast<double>(checkedSince) / elapsed;
    return estimate;
}

}  // namespace quillstep

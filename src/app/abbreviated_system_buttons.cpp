#include "app/abbreviated_system_buttons.h"

#include <string>

#include "windows/control_ids.h"
#include "files/number_text.h"
#include "usecases/search_progress_estimate.h"
#include "windows/file_reports.h"
#include "texts/search_progress_texts.h"

namespace quillstep {
namespace {

// The count label's middle while the search runs, in which the G4 and G5 commands differ.
const char* progressMiddle(int guaranteedHits) { return guaranteedHits == 5 ? " checked systems:" : " checked systems: "; }

// The share done and the time left in the progress label, with the rate measured on the platform's
// clock (the time of day, counted on past midnight).
class ProgressLabel {
public:
    explicit ProgressLabel(Platform& platform) : platform_(platform) {}

    void onProgress(int32_t startsChecked, int32_t startsInAll) {
        double now = platform_.timeOfDaySeconds() + daysPassed_ * SECONDS_PER_DAY;
        if (shown_ && now < lastSeconds_) {
            ++daysPassed_;
            now += SECONDS_PER_DAY;
        }
        lastSeconds_ = now;
        shown_ = true;
        platform_.setControlText(SEARCH_PROGRESS_LABEL,
                                 searchProgressLabelText(meter_.onStartsChecked(startsChecked, startsInAll, now)));
    }
    // Empties the label before the result's message boxes.
    void clear() {
        if (shown_) platform_.setControlText(SEARCH_PROGRESS_LABEL, "");
        shown_ = false;
    }

private:
    static constexpr double SECONDS_PER_DAY = 86400.0;
    Platform& platform_;
    SearchRateMeter meter_;
    bool shown_ = false;
    int daysPassed_ = 0;
    double lastSeconds_ = 0.0;
};

}  // namespace

SearchOutcome searchAbbreviatedSystem(SharedState& state, Platform& platform, int guaranteedHits,
                                      const SearchProgressListener& listener, const std::filesystem::path& output) {
    const std::string countText = signedNumberText(state.generatedCount, 10);
    ProgressLabel progressLabel(platform);
    SearchObserver observer;
    observer.onProgress = [&](int32_t startsChecked, int32_t startsInAll) {
        platform.setControlText(COUNT_LABEL,
                                countText + progressMiddle(guaranteedHits) + signedNumberText(startsChecked, 10));
        progressLabel.onProgress(startsChecked, startsInAll);
        if (listener) listener(startsChecked, startsInAll);
    };
    observer.stopRequested = [&] { return platform.pollStopRequest(); };
    observer.onSearched = [&](const SearchOutcome& found) {
        progressLabel.clear();
        const std::vector<std::string> messages = searchFoundMessages(found, guaranteedHits);
        // The stop first, then the count label back to the count, then the result.
        size_t next = 0;
        if (found.stopped) platform.showMessage(messages[next++]);
        platform.setControlText(COUNT_LABEL, countText);
        for (; next < messages.size(); ++next) platform.showMessage(messages[next]);
    };
    observer.write = mainWindowWriteObserver(platform);

    SearchOutcome outcome = searchAndWriteSystem(state, {guaranteedHits, output}, observer);
    progressLabel.clear();
    if (!outcome.searched) {
        if (outcome.fault.reason == FaultReason::SearchOutOfMemory) platform.setControlText(COUNT_LABEL, countText);
        platform.showMessage(searchRefusalMessage(outcome.fault));
        return outcome;
    }
    outcome.file.error = searchFaultText(outcome);
    if (const std::string message = searchFileFaultMessage(outcome); !message.empty()) platform.showMessage(message);
    return outcome;
}

}  // namespace quillstep

#include "app/abbreviated_system_buttons.h"

#include <new>
#include <string>

#include "commands/control_ids.h"
#include "commands/number_text.h"
#include "commands/search_progress_estimate.h"
#include "windows/file_reports.h"
#include "windows/search_progress_texts.h"

namespace quillstep {

const char* const NOTHING_TO_SEARCH_MESSAGE =
    "Nothing to search: the last storing run accepted no combination, so no abbreviated system can be "
    "built and no file is written.";
const char* const SEARCH_OUT_OF_MEMORY_MESSAGE =
    "Not enough memory for the search of an abbreviated system among the stored combinations: nothing "
    "was searched and no file is written.";

namespace {

// The literals in which the G4 and G5 commands differ.
struct SearchTexts {
    const char* progressMiddle;
    const char* resultTail;
};
constexpr SearchTexts G4_TEXTS{" checked systems: ", " combinations/4 of any 7 under given conditions"};
constexpr SearchTexts G5_TEXTS{" checked systems:", " combinations/5 of any 7 under given conditions"};

std::string stoppedMessage(int32_t startsChecked, int32_t count) {
    return "Search stopped after" + signedNumberText(startsChecked, 10) + " of" + signedNumberText(count, 10) +
           " starting combinations; the best system among them follows.";
}

// The checked system into its file; a failure is told in a message and leaves the old file.
void writeSystem(SharedState& state, Platform& platform, const AbbreviatedSearchResult& found, int guaranteedHits,
                 const std::filesystem::path& output, SearchOutcome& outcome) {
    outcome.systemFile = writeCheckedSystemFile(state, {found.stored, found.system, guaranteedHits, false, output},
                                                mainWindowWriteObserver(platform));
    const SystemFileOutcome& written = outcome.systemFile;
    outcome.file = written.file;
    outcome.file.written = written.written();
    outcome.file.error = systemFileFaultText(written, false, "the system found");
    if (written.fault == SystemFileFault::GuaranteeNotHeld)
        platform.showMessage("Not written: " + outcome.file.error + "; " + outcome.file.fileName +
                             " keeps its previous content.");
    else if (written.fault == SystemFileFault::ReadBackDiffers)
        platform.showMessage("Not written: " + outcome.file.error + ".");
}

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

SearchOutcome refused(SharedState& state, Platform& platform, SearchRefusal refusal) {
    if (refusal == SearchRefusal::OutOfMemory) platform.setControlText(COUNT_LABEL, signedNumberText(state.generatedCount, 10));
    platform.showMessage(searchRefusalMessage(refusal));
    SearchOutcome outcome;
    outcome.refusal = refusal;
    return outcome;
}

}  // namespace

const char* searchRefusalMessage(SearchRefusal refusal) {
    return refusal == SearchRefusal::OutOfMemory ? SEARCH_OUT_OF_MEMORY_MESSAGE : NOTHING_TO_SEARCH_MESSAGE;
}

SearchOutcome searchAbbreviatedSystem(SharedState& state, Platform& platform, int guaranteedHits,
                                      const SearchProgressListener& listener, const std::filesystem::path& output) {
    const SearchTexts& texts = guaranteedHits == 5 ? G5_TEXTS : G4_TEXTS;
    const std::string countText = signedNumberText(state.generatedCount, 10);
    ProgressLabel progressLabel(platform);
    AbbreviatedSearchObserver observer;
    observer.onProgress = [&](int32_t startsChecked, int32_t startsInAll) {
        platform.setControlText(COUNT_LABEL, countText + texts.progressMiddle + signedNumberText(startsChecked, 10));
        progressLabel.onProgress(startsChecked, startsInAll);
        if (listener) listener(startsChecked, startsInAll);
    };
    observer.stopRequested = [&] { return platform.pollStopRequest(); };
    const AbbreviatedSearchResult found = findAbbreviatedSystem(state, guaranteedHits, observer);
    progressLabel.clear();
    if (!found.searched()) return refused(state, platform, found.refusal);

    SearchOutcome outcome;
    outcome.searched = true;
    outcome.refusal = SearchRefusal::None;
    outcome.stopped = found.stopped;
    outcome.startsChecked = found.startsChecked;
    outcome.bestStart = found.bestStart;
    outcome.bestSize = found.bestSize;
    outcome.systemSize = found.systemSize;

    if (found.stopped) platform.showMessage(stoppedMessage(found.startsChecked, found.startsInAll));
    platform.setControlText(COUNT_LABEL, countText);
    platform.showMessage("Best starting combination number:" + signedNumberText(found.bestStart, 15) +
                         ", abbreviated system:" + signedNumberText(found.bestSize, 10));
    platform.showMessage("We found for now  " + maskedNumberText(found.systemSize, "####") + texts.resultTail);

    if (found.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) {
        platform.showMessage("Not usefull! Try something else");
        return outcome;
    }
    try {
        writeSystem(state, platform, found, guaranteedHits, output, outcome);
    } catch (const std::bad_alloc&) {
        // The check's tables did not fit: nothing is written, the program goes on.
        return refused(state, platform, SearchRefusal::OutOfMemory);
    }
    return outcome;
}

}  // namespace quillstep

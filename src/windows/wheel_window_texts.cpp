#include "windows/wheel_window_texts.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "usecases/system_examination.h"
#include "texts/wheel_making_texts.h"
#include "texts/wheel_request_texts.h"

namespace quillstep {
namespace {

constexpr int PROFILED_HITS[] = {3, 4, 5};

// "1-10, 22, 30": the list in the form the command line takes, with a blank after each comma so
// that a long list wraps in its label.
std::string listWithBlanks(const std::string& list) {
    std::string text;
    for (char c : list) {
        text += c;
        if (c == ',') text += ' ';
    }
    return text;
}

}  // namespace

bool wheelPassedCheck(const WheelFileOutcome& outcome) {
    const FaultReason reason = outcome.fault.reason;
    return reason == FaultReason::None || reason == FaultReason::WriteFailed || reason == FaultReason::ReadBackDiffers;
}

std::string slipNumberText(int number, bool key) { return std::to_string(number) + (key ? " key" : ""); }

std::string wheelChoiceText(const WheelChoice& choice) {
    const int chosen = std::popcount(choice.pool);
    std::string text = chosen == 0 ? std::string("No numbers chosen yet: click them on the slip.")
                                   : std::to_string(chosen) + (chosen == 1 ? " number" : " numbers") +
                                         " chosen: " + listWithBlanks(numberListText(choice.pool)) + ".";
    if (choice.keys != 0)
        text += std::string(std::popcount(choice.keys) == 1 ? " Key: " : " Keys: ") + numbersInProse(choice.keys) + ".";
    return text;
}

std::string guaranteeMeaningText(const WheelChoice& choice) {
    const std::string t = std::to_string(choice.hits), m = std::to_string(choice.drawn);
    return t + " if " + m + ": when " + m + " of your numbers are drawn" +
           (choice.keys == 0                     ? std::string()
            : std::popcount(choice.keys) == 1 ? std::string(", the key among them")
                                              : std::string(", the keys among them")) +
           ", some ticket holds at least " + t + " of them.";
}

std::string wheelChoiceRefusedText(const WheelRefusal& refusal) {
    return "Not started: " + wheelRefusalText(refusal, WINDOW_WHEEL_FIELDS) + ".";
}

std::string wheelProgressText(const CoverProgress& progress) {
    const long secondsLeft = std::lround(std::ceil(std::max(0.0, progress.remainingSeconds)));
    const std::string best = progress.bestSize > 0 ? "Smallest wheel so far: " + ticketCountText(progress.bestSize)
                                                   : std::string("No wheel found yet");
    return best + ", " + std::to_string(secondsLeft) + " s left. Escape stops the search.";
}

std::string ticketCountText(int64_t count) { return std::to_string(count) + (count == 1 ? " ticket" : " tickets"); }

std::string wheelSizeText(const WheelMade& made, const WheelRequest& request) {
    const WheelSearchResult& search = made.search;
    if (search.requestFault.refused()) return wheelChoiceRefusedText(search.requestFault);
    if (!search.found())
        return search.stopped ? "Stopped before any wheel was complete: nothing was written."
                              : "No wheel was found within the time limit: nothing was written.";
    const int64_t size = static_cast<int64_t>(search.tickets.size());
    if (made.file.fault.reason == FaultReason::WheelTooLargeForFile)
        return "The search's wheel of " + ticketCountText(size) + " is more than a wheel file holds.";
    if (!wheelPassedCheck(made.file))
        return "The search's wheel of " + ticketCountText(size) + " did not pass the independent check.";
    std::string text = "Size: " + ticketCountText(size);
    if (const std::string published = publishedWheelText(request); !published.empty()) {
        text += " (" + published;
        if (const std::string bound = publishedLowerBoundText(request); !bound.empty()) text += ", " + bound;
        text += ")";
    }
    text += ".";
    if (search.stopped) text += " Escape stopped the search: the smallest wheel found is kept.";
    return text;
}

std::string wheelDrawSharesText(const DrawProfile& profile) {
    std::string text = "Of all " + std::to_string(profile.draws) + " draws of 1 to 39, one ticket gets";
    for (const int hits : PROFILED_HITS)
        text += std::string(hits == 3 ? " " : hits == 5 ? " and " : ", ") + "at least " + std::to_string(hits) +
                " hits on " + percentText(profile.drawsWithAtLeast(hits), profile.draws) + "%";
    return text + ".";
}

std::string wheelFileText(const WheelMade& made) {
    const WheelFileOutcome& outcome = made.file;
    if (made.written())
        return "File: " + outcome.file.fileName + ", " + ticketCountText(outcome.check.tickets) +
               ", checked over all " + std::to_string(outcome.check.targets) + " sets of drawn numbers.";
    std::string text = "Not written: " + wheelNotWrittenText(made) + ".";
    if (!outcome.file.fileName.empty()) text += " The previous " + outcome.file.fileName + " is unchanged.";
    return text;
}

std::string wheelSavedAsText(const WheelMade& made) {
    if (made.written())
        return "Saved as " + made.file.file.fileName + ": " + ticketCountText(made.file.check.tickets) + ".";
    return "Not written: " + wheelNotWrittenText(made) + ".";
}

}  // namespace quillstep

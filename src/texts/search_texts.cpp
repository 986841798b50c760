#include "texts/search_texts.h"

#include "files/number_text.h"
#include "texts/fault_texts.h"

namespace quillstep {

const char* const NOTHING_TO_SEARCH_MESSAGE =
    "Nothing to search: the last storing run accepted no combination, so no abbreviated system can be "
    "built and no file is written.";
const char* const SEARCH_OUT_OF_MEMORY_MESSAGE =
    "Not enough memory for the search of an abbreviated system among the stored combinations: nothing "
    "was searched and no file is written.";
const char* const NOT_USEFUL_MESSAGE = "Not usefull! Try something else";

const char* searchRefusalMessage(const Fault& refusal) {
    return refusal.reason == FaultReason::SearchOutOfMemory ? SEARCH_OUT_OF_MEMORY_MESSAGE : NOTHING_TO_SEARCH_MESSAGE;
}

std::vector<std::string> searchFoundMessages(const SearchOutcome& outcome, int guaranteedHits) {
    std::vector<std::string> messages;
    if (outcome.stopped)
        messages.push_back("Search stopped after" + signedNumberText(outcome.startsChecked, 10) + " of" +
                           signedNumberText(outcome.startsInAll, 10) +
                           " starting combinations; the best system among them follows.");
    messages.push_back("Best starting combination number:" + signedNumberText(outcome.bestStart, 15) +
                       ", abbreviated system:" + signedNumberText(outcome.bestSize, 10));
    messages.push_back("We found for now  " + maskedNumberText(outcome.systemSize, "####") + " combinations/" +
                       std::to_string(guaranteedHits) + " of any 7 under given conditions");
    if (outcome.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) messages.emplace_back(NOT_USEFUL_MESSAGE);
    return messages;
}

std::string searchFaultText(const SearchOutcome& outcome) { return faultText(outcome.fault, "the system found"); }

std::string searchFileFaultMessage(const SearchOutcome& outcome) {
    const FaultReason reason = outcome.systemFile.fault.reason;
    if (guaranteeNotHeld(reason))
        return "Not written: " + searchFaultText(outcome) + "; " + outcome.systemFile.file.fileName +
               " keeps its previous content.";
    if (reason == FaultReason::ReadBackDiffers) return "Not written: " + searchFaultText(outcome) + ".";
    return "";
}

}  // namespace quillstep

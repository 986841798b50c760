#include "windows/system_save_as.h"

#include "texts/fault_texts.h"
#include "usecases/store_masks.h"
#include "windows/file_reports.h"
#include "engine/lottery.h"

namespace quillstep {
namespace {

std::string notWrittenReason(const SaveAsOutcome& outcome) {
    return faultText(outcome.systemFile.fault, "the system");
}

}  // namespace

std::vector<uint64_t> systemStoreMembers(const SharedState& state, int32_t size) {
    std::vector<uint64_t> members;
    for (int32_t s = 0; s < size; ++s) {
        uint64_t mask = 0;
        for (int k = 0; k < NUMBERS_PER_COMBINATION; ++k) mask |= uint64_t{1} << state.systemCombination(s)[k];
        members.push_back(mask);
    }
    return members;
}

SavableSystem savableSystemFromStore(const SharedState& state, int32_t size, int guaranteedHits,
                                     bool membersMayBeAnyCombination) {
    SavableSystem system;
    system.present = size > 0;
    system.guaranteedHits = guaranteedHits;
    system.membersMayBeAnyCombination = membersMayBeAnyCombination;
    system.members = systemStoreMembers(state, size);
    return system;
}

std::string suggestedSystemFileName(int guaranteedHits) {
    return guaranteedHits == 5 ? "system_g5.txt" : "system_g4.txt";
}

SaveAsOutcome saveSystemAs(SharedState& state, Platform& platform, const SavableSystem& system) {
    SaveAsOutcome outcome;
    if (!system.present) return outcome;
    const std::filesystem::path target =
        platform.chooseFileToSave(SAVE_SYSTEM_FILE_TITLE, suggestedSystemFileName(system.guaranteedHits));
    if (target.empty()) return outcome;
    outcome.cancelled = false;
    const std::vector<uint64_t> stored = combinationMasks(state);
    SystemToWrite request{stored, system.members, system.guaranteedHits, system.membersMayBeAnyCombination, target};
    outcome.systemFile = writeCheckedSystemFile(state, request, mainWindowWriteObserver(platform));
    const FaultReason reason = outcome.systemFile.fault.reason;
    if (guaranteeNotHeld(reason) || reason == FaultReason::ReadBackDiffers)
        platform.showMessage("Not written: " + notWrittenReason(outcome) + ".");
    return outcome;
}

std::string saveAsOutcomeText(const SaveAsOutcome& outcome, const SavableSystem& system) {
    if (outcome.cancelled) return "";
    const SystemFileOutcome& written = outcome.systemFile;
    if (written.written())
        return "Saved as " + written.file.fileName + ": " + std::to_string(system.members.size()) +
               (system.members.size() == 1 ? " combination." : " combinations.");
    return "Not written: " + notWrittenReason(outcome) + ".";
}

}  // namespace quillstep

#include "texts/file_texts.h"

#include "files/number_text.h"

namespace quillstep {

std::string fileWriteEndedMessage(const FileWriteResult& result) {
    if (!result.written)
        return "Could not write " + result.fileName + ": " + result.error + ". The previous " + result.fileName +
               " is unchanged.";
    return "We store combinations  in file " + result.fileName + " in " + signedNumberText(result.seconds, 15) +
           " seconds";
}

std::string guaranteeFaultText(const SystemCheck& check, bool membersMayBeAnyCombination, const std::string& whose) {
    if (check.holds(membersMayBeAnyCombination)) return "";
    if (!check.malformedMembers.empty())
        return whose + " holds " + std::to_string(check.malformedMembers.size()) +
               " members that are not seven numbers of 1 to the total";
    if (check.uncovered > 0)
        return whose + " leaves " + std::to_string(check.uncovered) + " stored combinations uncovered";
    return whose + " holds " + std::to_string(check.membersNotStored.size()) + " combinations that are not stored";
}

std::string systemFileFaultText(const SystemFileOutcome& outcome, bool membersMayBeAnyCombination,
                                const std::string& whose) {
    switch (outcome.fault) {
        case SystemFileFault::None:
            return "";
        case SystemFileFault::GuaranteeNotHeld:
            return guaranteeFaultText(outcome.check, membersMayBeAnyCombination, whose);
        case SystemFileFault::WriteFailed:
            return outcome.file.error;
        case SystemFileFault::ReadBackDiffers:
            return outcome.file.fileName + " does not read back as the system that was written";
    }
    return "";
}

std::string noSystemBelowCapacityText(int64_t storedCount) {
    return "no system of fewer than " + std::to_string(ABBREVIATED_SYSTEM_CAPACITY) + " combinations can cover the " +
           std::to_string(storedCount) + " stored combinations (proven before any search)";
}

}  // namespace quillstep

#include "usecases/fault.h"

namespace quillstep {

FaultKind faultKindOf(const FileWriteResult& file) { return file.written ? FaultKind::None : FaultKind::Fault; }

FaultKind faultKindOf(const SearchOutcome& outcome) {
    if (!outcome.searched)
        return outcome.refusal == SearchRefusal::OutOfMemory ? FaultKind::Fault : FaultKind::Answer;
    if (outcome.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) return FaultKind::Answer;
    return outcome.file.written ? FaultKind::None : FaultKind::Fault;
}

FaultKind faultKindOf(const OptimiseOutcome& outcome) {
    switch (outcome.fault) {
        case OptimiseFault::None:
            return FaultKind::None;
        case OptimiseFault::NothingStored:
        case OptimiseFault::TooLargeForFile:
        case OptimiseFault::NoSystemBelowCapacity:
            return FaultKind::Answer;
        case OptimiseFault::GuaranteeOutOfRange:
        case OptimiseFault::TimeLimitOutOfRange:
        case OptimiseFault::NegativeStepBudget:
            return FaultKind::Refused;
        case OptimiseFault::StoppedBeforeAnySystem:
        case OptimiseFault::NoSystemInTime:
            return FaultKind::NoSystemInTime;
        case OptimiseFault::RequestRefused:  // the optimiser's own refusal comes of a fault in its tables
        case OptimiseFault::SystemFileFault:
        case OptimiseFault::OutOfMemory:
            return FaultKind::Fault;
    }
    return FaultKind::Fault;
}

FaultKind faultKindOf(const CompletionOutcome& outcome) {
    switch (outcome.fault) {
        case CompletionFault::None:
            return FaultKind::None;
        case CompletionFault::OutOfMemory:
            return FaultKind::Fault;
        case CompletionFault::SystemFileFault:
            // A completion that does not hold its guarantee is no completion of this file; a write
            // or a read-back that failed is a fault.
            return outcome.systemFile.fault == SystemFileFault::GuaranteeNotHeld ? FaultKind::Refused : FaultKind::Fault;
        default:
            // Nothing stored, settings, too many lines, a number above the total, no system found,
            // one too large or proven impossible: this file cannot be completed on this store.
            return FaultKind::Refused;
    }
}

FaultKind faultKindOf(const SystemCheck& check) { return check.uncovered == 0 ? FaultKind::None : FaultKind::Uncovered; }

FaultKind faultKindOf(const WheelMade& made) {
    if (made.written()) return FaultKind::None;
    if (made.search.requestFault.refused()) return FaultKind::Refused;
    if (!made.search.found()) return FaultKind::NoSystemInTime;
    return made.file.fault == WheelFileFault::TooManyRows ? FaultKind::Answer : FaultKind::Fault;
}

FaultKind faultKindOf(const WheelCheck& check) {
    if (check.requestFault.refused() || check.ticketsRefused > 0) return FaultKind::Refused;
    return check.uncovered == 0 ? FaultKind::None : FaultKind::Uncovered;
}

}  // namespace quillstep

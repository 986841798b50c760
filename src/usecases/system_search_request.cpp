#include "usecases/system_search_request.h"

namespace quillstep {

Fault systemSearchRequestFault(const SharedState& state, const SystemSearchSettings& settings,
                               FaultReason nothingStored) {
    if (state.generatedCount <= 0) return {nothingStored};
    if (settings.guaranteedHits != 4 && settings.guaranteedHits != 5) return {FaultReason::GuaranteeOutOfRange};
    if (!timeLimitAllowed(settings.timeLimitSeconds)) return {FaultReason::TimeLimitOutOfRange};
    if (settings.stepBudget < 0) return {FaultReason::NegativeStepBudget};
    return {};
}

}  // namespace quillstep

#include "files/system_file_writer.h"

#include "files/system_read_back.h"
#include "files/verification_before_writing.h"

namespace quillstep {
namespace {

// The members' numbers, ascending, into the abbreviated-system store from element 1 on.
void putIntoSystemStore(SharedState& state, const std::vector<uint64_t>& system) {
    int32_t* out = state.abbreviatedSystemStore.get() + 1;
    for (uint64_t member : system)
        for (int v = 1; v < 64; ++v)
            if (member & (uint64_t{1} << v)) *out++ = v;
}

std::string outsideFiltersNote(int32_t outsideFilters) {
    if (outsideFilters == 0) return {};
    return " (system holds " + std::to_string(outsideFilters) + " combinations outside the filters)";
}

}  // namespace

Fault guaranteeFault(const SystemCheck& check, bool membersMayBeAnyCombination) {
    if (check.holds(membersMayBeAnyCombination)) return {};
    if (!check.malformedMembers.empty())
        return {FaultReason::MembersMalformed, static_cast<int64_t>(check.malformedMembers.size())};
    if (check.uncovered > 0) return {FaultReason::MembersUncovering, check.uncovered};
    return {FaultReason::MembersNotStored, static_cast<int64_t>(check.membersNotStored.size())};
}

bool guaranteeNotHeld(FaultReason reason) {
    return reason == FaultReason::MembersMalformed || reason == FaultReason::MembersUncovering ||
           reason == FaultReason::MembersNotStored;
}

SystemFileOutcome writeCheckedSystemFile(SharedState& state, const SystemToWrite& request,
                                         const WriteObserver& observer) {
    SystemFileOutcome outcome;
    outcome.file.fileName = request.target.empty() ? std::string(systemFileName(request.guaranteedHits))
                                                   : pathText(request.target);
    outcome.check =
        checkAgainstStore(request.stored, request.system, request.guaranteedHits, state.parameters.totalNumbers);
    outcome.outsideFilters = static_cast<int32_t>(outcome.check.membersNotStored.size());
    outcome.fault = guaranteeFault(outcome.check, request.membersMayBeAnyCombination);
    if (!outcome.fault.none()) return outcome;
    putIntoSystemStore(state, request.system);
    // Read back through the written file before it replaces the old one: under the file's name
    // afterwards, another writer's file could be found and called corruption.
    const auto readsBack = [&request](ReplacementFile& written) { return readsBackAsSystem(written, request.system); };
    outcome.file = writeSystemRows(state, request.guaranteedHits, static_cast<int32_t>(request.system.size()),
                                   outsideFiltersNote(outcome.outsideFilters), observer, readsBack, request.target);
    outcome.fault = writtenFileFault(outcome.file);
    return outcome;
}

}  // namespace quillstep

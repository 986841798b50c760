#pragma once
// The one writer of an abbreviated system's file, for the greedy search and the optimiser alike:
// the system is checked against the store by code apart from the search that built it, put into
// the abbreviated-system store, written, and the file read back. Only a system that passes all
// three is reported written; any other ends with the reason, and the previous file stays.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/fault.h"
#include "files/combination_file.h"
#include "engine/shared_state.h"
#include "wheels/check/independent_system_check.h"

namespace quillstep {

struct SystemToWrite {
    const std::vector<uint64_t>& stored;  // the stored combinations as masks, in store order
    const std::vector<uint64_t>& system;  // fewer than ABBREVIATED_SYSTEM_CAPACITY members, as masks
    int guaranteedHits = 4;               // 4: "mb_comb_file_ab.txt", 5: "mb_comb_file_ab5.txt"
    bool membersMayBeAnyCombination = false;  // members need not be stored combinations
    // A name of the user's own (as given, not in the output folder); empty: the guarantee's file.
    // The check, the writer's safe replacement and the read-back are the same for both.
    std::filesystem::path target = {};
};

// Whether `reason` is one of the check's (MembersMalformed, MembersUncovering, MembersNotStored).
bool guaranteeNotHeld(FaultReason reason);
// Why the checked system fails its guarantee (malformed members first, then uncovered stored
// combinations, then members that are not stored), or none.
Fault guaranteeFault(const SystemCheck& check, bool membersMayBeAnyCombination);

struct SystemFileOutcome {
    // None: written and read back as the system. MembersMalformed, MembersUncovering or
    // MembersNotStored: the check found a fault (see `check`), nothing was written. WriteFailed or
    // ReadBackDiffers: the previous file stays.
    Fault fault;
    SystemCheck check;           // the check before writing
    int32_t outsideFilters = 0;  // members that are not stored combinations
    FileWriteResult file;        // the writer's own result (written: every byte reached the disk)

    bool written() const { return fault.none(); }
    // Checked and put into the abbreviated-system store, whether its file was written or not.
    bool passedCheck() const { return !guaranteeNotHeld(fault.reason); }
};

SystemFileOutcome writeCheckedSystemFile(SharedState& state, const SystemToWrite& request,
                                         const WriteObserver& observer);

}  // namespace quillstep

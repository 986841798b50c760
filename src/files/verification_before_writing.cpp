// Checking a system before it is reported.

#include "files/verification_before_writing.h"

namespace quillstep {

SystemCheck checkAgainstStore(const std::vector<uint64_t>& masks, const std::vector<uint64_t>& system,
                              int guaranteedHits, int totalNumbers) {
    SystemCheckRequest request;
    request.stored = masks.data();
    request.storedCount = static_cast<int64_t>(masks.size());
    request.system = system.data();
    request.systemSize = static_cast<int64_t>(system.size());
    request.guaranteedHits = guaranteedHits;
    request.highestNumber = totalNumbers;
    request.bestMatchWanted = false;  // the guarantee is the question here, not the profile
    return checkSystem(request);
}

}  // namespace quillstep

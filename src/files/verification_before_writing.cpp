// Checking a system before it is reported.

#include "files/verification_before_writing.h"

namespace quillstep {

SystemCheck checkAgainstStore(const std::vector<uint64_t>& masks, const std::vector<uint64_t>& system,
                              int guaranteedHits, int totalNumbers) {
    SystemCheckOptions options;
    options.bestMatchWanted = false;  // the guarantee is the question here, not the profile
    return checkSystem(storedCoverRequest(masks, guaranteedHits, totalNumbers), system, options);
}

}  // namespace quillstep

// Checking a system and its file before they are reported.

#include "files/verification_before_writing.h"

#include "files/system_file_reader.h"

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

bool fileHoldsSystem(const SharedState& state, const std::string& fileName, const std::vector<uint64_t>& system) {
    const SystemFileContents contents = readSystemFile(state.outputFolder / fileName, EmptySystemFile::Read);
    if (!contents.ok() || contents.combinations.size() != system.size()) return false;
    for (size_t s = 0; s < system.size(); ++s)
        if (combinationMask(contents.combinations[s]) != system[s]) return false;
    return true;
}

}  // namespace quillstep

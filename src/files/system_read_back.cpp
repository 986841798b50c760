#include "files/system_read_back.h"

#include "files/system_file_reader.h"

namespace quillstep {

bool readsBackAsSystem(ReplacementFile& file, const std::vector<uint64_t>& system) {
    uint64_t offset = 0;
    const SystemFileContents contents = readSystemFileFrom([&](char* buffer, size_t size) {
        const int64_t got = file.readAt(offset, buffer, size);
        if (got > 0) offset += static_cast<uint64_t>(got);
        return got;
    });
    if (!contents.ok() || contents.combinations.size() != system.size()) return false;
    for (size_t r = 0; r < system.size(); ++r)
        if (combinationMask(contents.combinations[r]) != system[r]) return false;
    return true;
}

}  // namespace quillstep

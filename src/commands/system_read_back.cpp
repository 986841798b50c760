#include "commands/system_read_back.h"

#include "commands/system_file_reader.h"

namespace quillstep {
namespace {

// The mask of one written row, or 0 when a number could not be in a system file.
uint64_t rowMask(const int32_t* row) {
    uint64_t mask = 0;
    for (int k = 0; k < 7; ++k) {
        if (row[k] < 1 || row[k] > HIGHEST_SYSTEM_FILE_NUMBER) return 0;
        mask |= uint64_t{1} << row[k];
    }
    return mask;
}

}  // namespace

bool readsBackAsRows(ReplacementFile& file, const int32_t* rows, int32_t rowCount) {
    uint64_t offset = 0;
    const SystemFileContents contents = readSystemFileFrom([&](char* buffer, size_t size) {
        const int64_t got = file.readAt(offset, buffer, size);
        if (got > 0) offset += static_cast<uint64_t>(got);
        return got;
    });
    if (!contents.ok() || contents.combinations.size() != static_cast<size_t>(rowCount)) return false;
    for (int32_t r = 0; r < rowCount; ++r)
        if (combinationMask(contents.combinations[static_cast<size_t>(r)]) != rowMask(rows + 7 * r)) return false;
    return true;
}

}  // namespace quillstep

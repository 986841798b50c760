#include "usecases/system_examination.h"

#include <algorithm>
#include <cstdio>

#include "engine/binomials.h"
#include "usecases/store_masks.h"

namespace quillstep {

std::vector<uint64_t> systemMasks(const SystemFileContents& contents) {
    std::vector<uint64_t> masks;
    masks.reserve(contents.combinations.size());
    for (const SystemFileCombination& combination : contents.combinations) masks.push_back(combinationMask(combination));
    return masks;
}

SystemExamination examineSystemFile(const SharedState& state, const std::filesystem::path& path,
                                    const ExaminationRequest& request) {
    SystemExamination examination;
    const SystemFileContents contents = readSystemFile(path);
    if (!contents.ok()) {
        examination.error = contents.error;
        examination.errorLine = contents.errorLine;
        examination.withoutCombination = contents.withoutCombination;
        return examination;
    }
    examination.lines = systemMasks(contents);
    if (request.againstStore && state.generatedCount > 0) {
        const std::vector<uint64_t> stored = combinationMasks(state);
        SystemCheckOptions options;
        options.holesKept = request.holesKept;
        examination.check =
            checkSystem(storedCoverRequest(stored, request.guaranteedHits, HIGHEST_NUMBER), examination.lines, options);
        for (const int64_t hole : examination.check.holes)
            examination.holes.push_back(stored[static_cast<size_t>(hole)]);
        examination.checkedAgainstStore = true;
    }
    if (request.overAllDraws)
        examination.profile = profileAllDraws(examination.lines.data(), static_cast<int64_t>(examination.lines.size()),
                                              state.parameters.totalNumbers);
    return examination;
}

int64_t possibleDraws(int totalNumbers) {
    return binomialOrZero(totalNumbers, NUMBERS_PER_COMBINATION);
}

std::string percentText(int64_t part, int64_t whole) {
    if (whole <= 0) return "0.00";
    // Hundredths of a percent, rounded half up, in integers: part * 10000 / whole. The counts are
    // draws (at most C(63, 7), under 2^30), so the products stay far inside 64 bits.
    constexpr int64_t ALL = 10000;
    int64_t value = (part * 20000 + whole) / (2 * whole);
    if (part > 0 && part < whole) value = std::clamp<int64_t>(value, 1, ALL - 1);
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(value / 100),
                  static_cast<long long>(value % 100));
    return text;
}

std::string hitCountsText(const std::array<int64_t, 8>& counts) {
    std::string text;
    for (int k = 7; k >= 0; --k) {
        if (k < 7) text += ' ';
        text += std::to_string(k);
        text += '=';
        text += std::to_string(counts[static_cast<size_t>(k)]);
    }
    return text;
}

std::string combinationText(uint64_t mask) {
    std::string text;
    for (int v = 1; v < 64; ++v)
        if (mask & (uint64_t{1} << v)) {
            if (!text.empty()) text += ',';
            text += std::to_string(v);
        }
    return text;
}

}  // namespace quillstep

#include "usecases/generation_run.h"

#include <array>

#include "files/number_text.h"
#include "engine/generation_mode.h"
#include "engine/run.h"

namespace quillstep {
namespace {

// The pieces a description is made of, in the order they may appear.
enum Piece : uint32_t {
    FULL_SYSTEM = 1u << 0,      // A
    NEIGHBOURS_PIECE = 1u << 1, // B
    MIN_MAX_PIECE = 1u << 2,    // C
    MIN_MAX_FIRST = 1u << 3,    // C′: C without its leading comma
    ODD_EVEN_PIECE = 1u << 4,   // D
    SUM_PIECE = 1u << 5,        // E
    FORCED_PIECE = 1u << 6,     // F
    RANGE_PIECE = 1u << 7,      // G
    DONT_WANT_7 = 1u << 8,      // H7
    DONT_WANT_5 = 1u << 9,      // H5
};

constexpr uint32_t FILTERED = FULL_SYSTEM | ODD_EVEN_PIECE | SUM_PIECE | FORCED_PIECE;
constexpr uint32_t FILTERED_N = FULL_SYSTEM | NEIGHBOURS_PIECE | MIN_MAX_PIECE | ODD_EVEN_PIECE | SUM_PIECE | FORCED_PIECE;

// The pieces of each mode's description, modes 1 to 14 (0: counting only, the description is empty).
constexpr std::array<uint32_t, 14> DESCRIPTION_PIECES{{
    0,
    FULL_SYSTEM,
    0,
    FULL_SYSTEM | SUM_PIECE,
    0,
    FULL_SYSTEM | ODD_EVEN_PIECE,
    0,
    FULL_SYSTEM | ODD_EVEN_PIECE | SUM_PIECE,
    FILTERED,
    FILTERED | RANGE_PIECE,
    FILTERED | MIN_MAX_FIRST,
    FILTERED_N,
    FILTERED_N | DONT_WANT_7,
    FILTERED_N | DONT_WANT_5,
}};

std::string mask(int32_t value, const char* m) { return maskedNumberText(value, m); }

std::string excludedList(const GenerationParameters& p) {
    std::string list;
    for (int i = 1; i <= 7; ++i) {
        if (i > 1) list += ',';
        list += mask(p.excludedNumbers[i], "##");
    }
    return list;
}

std::string composeDescription(const GenerationParameters& p, uint32_t pieces) {
    std::string d;
    if (pieces & FULL_SYSTEM) d += "FULL SYSTEM 7/" + signedNumberText(p.totalNumbers, 2);
    if (pieces & NEIGHBOURS_PIECE) d += "max neighb. no:" + mask(p.maxNeighbours, "#");
    if (pieces & (MIN_MAX_PIECE | MIN_MAX_FIRST)) {
        if (pieces & MIN_MAX_PIECE) d += ',';
        d += "min no.:" + mask(p.minNumber, "##") + ",max no.:" + mask(p.maxNumber, "##");
    }
    if (pieces & ODD_EVEN_PIECE) d += " min ODD/EVEN:" + mask(p.minOdd, "#") + "/" + mask(p.minEven, "#");
    if (pieces & SUM_PIECE) d += " SUM:" + mask(p.minSum, "###") + "-" + mask(p.maxSum, "###");
    if (pieces & FORCED_PIECE) d += " FIX number=" + mask(p.forcedNumber, "##");
    if (pieces & RANGE_PIECE) d += " condition:" + mask(p.rangeCount, "#") + " in range:1-" + mask(p.rangeLimit, "##");
    if (pieces & DONT_WANT_7) d += ",dot'n want:" + excludedList(p);
    if (pieces & DONT_WANT_5) d += ",don't want 5 num of:" + excludedList(p);
    return d;
}

}  // namespace

std::string composeMemoryDescription(const GenerationParameters& parameters, int mode) {
    return isGenerationMode(mode) ? composeDescription(parameters, DESCRIPTION_PIECES[mode - 1]) : std::string();
}

GenerationResult runGenerationMode(SharedState& state, RunHost& host, int mode) {
    GenerationResult result;
    if (!isGenerationMode(mode)) return result;
    result.mode = mode;
    result.seconds = runGeneration(state, host, mode);
    result.count = state.generatedCount;
    result.stored = isStoringMode(mode);
    state.memoryDescription = composeMemoryDescription(state.parameters, mode);
    return result;
}

}  // namespace quillstep

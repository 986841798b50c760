#include "wheels/large_optimiser/combination_index.h"

#include <stdexcept>

namespace quillstep::large {

CombinationRanks::CombinationRanks(int totalNumbers)
    : totalNumbers_(totalNumbers), bytes_((totalNumbers + 7) / 8) {
    if (totalNumbers < NUMBERS_PER_COMBINATION || totalNumbers > MAX_TOTAL_NUMBERS)
        throw std::invalid_argument("the count of numbers must be 7 to 40");
    for (unsigned v = 0; v < 256; ++v) byteCount_[v] = static_cast<uint8_t>(bitCount(v));
    table_.assign(static_cast<size_t>(bytes_) * 256 * 8, 0);
    for (int b = 0; b < bytes_; ++b)
        for (unsigned v = 0; v < 256; ++v)
            for (int below = 0; below < 8; ++below) {
                uint32_t sum = 0;
                int k = below;
                for (int p = 0; p < 8; ++p)
                    if (v >> p & 1) sum += static_cast<uint32_t>(binomialOrZero(8 * b + p, ++k));
                table_[(static_cast<size_t>(b) * 256 + v) * 8 + static_cast<size_t>(below)] = k <= NUMBERS_PER_COMBINATION ? sum : 0;
            }
}

uint64_t CombinationRanks::unrank(uint32_t rank) const {
    uint64_t mask = 0;
    int64_t rest = rank;
    int n = totalNumbers_;
    for (int k = NUMBERS_PER_COMBINATION; k >= 1; --k) {
        do --n;
        while (binomialOrZero(n, k) > rest);
        rest -= binomialOrZero(n, k);
        mask |= uint64_t{1} << (n + 1);
    }
    return mask;
}

StoredIndex::StoredIndex(const uint64_t* masks, int64_t count, int totalNumbers)
    : ranks_(totalNumbers), storedCount_(count), keys_(SUM_AND_ODD_KEYS, 0) {
    if (isFullWheel()) {
        keys_.assign(SUM_AND_ODD_KEYS, 1);
        return;
    }
    for (int64_t i = 0; i < count; ++i) keys_[sumAndOddKey(masks[i])] = 1;
    const int64_t all = ranks_.combinationCount();
    bits_.assign(static_cast<size_t>((all + 63) / 64), 0);
    for (int64_t i = 0; i < count; ++i) {
        const uint32_t r = ranks_.rank(masks[i]);
        bits_[r >> 6] |= uint64_t{1} << (r & 63);
    }
    before_.resize(bits_.size());
    uint32_t sum = 0;
    for (size_t w = 0; w < bits_.size(); ++w) {
        before_[w] = sum;
        sum += static_cast<uint32_t>(bitCount(bits_[w]));
    }
}

}  // namespace quillstep::large

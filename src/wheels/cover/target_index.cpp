#include "wheels/cover/target_index.h"

#include <bit>
#include <stdexcept>

#include "wheels/subsets.h"

namespace quillstep::cover {

TargetIndex TargetIndex::allSubsets(int elements, int size) {
    if (elements < 1 || elements > 64 || size < 1 || size > COMBINATION_SIZE || size > elements)
        throw std::invalid_argument("target subsets out of range");
    TargetIndex index;
    index.size_ = size;
    index.count_ = binomial(elements, size);
    index.chunks_ = (elements + 7) / 8;
    index.chunkTerms_.assign(static_cast<size_t>(index.chunks_) * 256 * 8, 0);
    for (int chunk = 0; chunk < index.chunks_; ++chunk)
        for (unsigned byte = 0; byte < 256; ++byte)
            for (int below = 0; below < 8; ++below) {
                int64_t terms = 0;
                int place = below;
                for (int bit = 0; bit < 8; ++bit) {
                    if (!(byte >> bit & 1)) continue;
                    ++place;
                    if (place <= COMBINATION_SIZE) terms += binomial(chunk * 8 + bit, place);
                }
                index.chunkTerms_[(static_cast<size_t>(chunk) * 256 + byte) * 8 + static_cast<size_t>(below)] =
                    static_cast<int32_t>(terms);
            }
    return index;
}

TargetIndex TargetIndex::storedSets(std::vector<uint64_t> sets, int size) {
    TargetIndex index;
    index.stored_ = true;
    index.size_ = size;
    index.count_ = static_cast<int64_t>(sets.size());
    index.sets_ = std::move(sets);
    size_t slots = 16;
    while (slots < index.sets_.size() * 2) slots *= 2;
    index.slots_.assign(slots, -1);
    index.slotMask_ = slots - 1;
    for (size_t id = 0; id < index.sets_.size(); ++id) {
        const uint64_t set = index.sets_[id];
        if (std::popcount(set) != size) throw std::invalid_argument("a stored target of another size");
        uint64_t slot = index.hashOf(set);
        for (; index.slots_[slot] >= 0; slot = (slot + 1) & index.slotMask_)
            if (index.sets_[static_cast<size_t>(index.slots_[slot])] == set)
                throw std::invalid_argument("a stored target twice");
        index.slots_[slot] = static_cast<int32_t>(id);
    }
    return index;
}

uint64_t TargetIndex::setOf(int64_t id) const {
    if (stored_) return sets_[static_cast<size_t>(id)];
    uint64_t set = 0;
    int64_t rest = id;
    int element = 63;
    for (int place = size_; place >= 1; --place) {
        while (binomial(element, place) > rest) --element;
        rest -= binomial(element, place);
        set |= uint64_t{1} << element;
        --element;
    }
    return set;
}

}  // namespace quillstep::cover

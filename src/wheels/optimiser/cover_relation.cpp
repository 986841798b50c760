#include "wheels/optimiser/cover_relation.h"

#include <algorithm>
#include <bit>

#include "wheels/subsets.h"

namespace quillstep {
namespace {

constexpr int32_t STOP_CHECK_INTERVAL = 256;  // candidates between two looks at the stop flag
constexpr int64_t CHUNK_UNITS = int64_t{1} << 22;

// The targets one candidate covers, marked in a bitmap and read back in ascending order: either
// from the words that were touched (sorted), when they are few, or by a sweep over the bitmap.
class CoveredSet {
public:
    explicit CoveredSet(int32_t targetCount) : words_((static_cast<size_t>(targetCount) + 63) / 64, 0) {}

    void mark(const RelationSources& sources, uint64_t candidate) {
        CombinationSubsets subsets;
        subsetsOf(candidate, sources.index.hits, subsets);
        for (int s = 0; s < subsets.count; ++s) {
            const uint32_t rank = subsets.ranks[s];
            for (uint32_t e = sources.index.start[rank]; e < sources.index.start[rank + 1]; ++e) {
                const int32_t y = sources.index.targets[e];
                uint64_t& word = words_[static_cast<size_t>(y) >> 6];
                if (word == 0) touched_.push_back(y >> 6);
                word |= uint64_t{1} << (y & 63);
            }
        }
        sweep_ = touched_.size() * 16 >= words_.size();
        if (!sweep_) std::sort(touched_.begin(), touched_.end());
    }

    template <typename Visit>
    void visit(Visit&& visit) const {
        const auto visitWord = [&](size_t w) {
            for (uint64_t bits = words_[w]; bits != 0; bits &= bits - 1)
                visit(static_cast<int32_t>(w * 64 + std::countr_zero(bits)));
        };
        if (sweep_) {
            for (size_t w = 0; w < words_.size(); ++w) visitWord(w);
        } else {
            for (const int32_t w : touched_) visitWord(static_cast<size_t>(w));
        }
    }

    void clear() {
        for (const int32_t w : touched_) words_[w] = 0;
        touched_.clear();
    }

private:
    std::vector<uint64_t> words_;
    std::vector<int32_t> touched_;
    bool sweep_ = false;
};

// Room for lists, handed out from chunks that the caller keeps.
class ChunkWriter {
public:
    explicit ChunkWriter(std::vector<std::unique_ptr<uint16_t[]>>& chunks) : chunks_(chunks) {}
    uint16_t* room(int64_t units) {
        if (limit_ - at_ < units) {
            const int64_t size = std::max(units, CHUNK_UNITS);
            chunks_.push_back(std::make_unique_for_overwrite<uint16_t[]>(static_cast<size_t>(size)));
            at_ = chunks_.back().get();
            limit_ = at_ + size;
        }
        return at_;
    }
    void used(uint16_t* end) { at_ = end; }

private:
    std::vector<std::unique_ptr<uint16_t[]>>& chunks_;
    uint16_t* at_ = nullptr;
    uint16_t* limit_ = nullptr;
};

}  // namespace

SubsetIndex buildSubsetIndex(const uint64_t* masks, int32_t count, int hits, uint64_t otherNumbers) {
    SubsetIndex index;
    index.hits = hits;
    uint64_t numbersUsed = otherNumbers;
    for (int32_t i = 0; i < count; ++i) numbersUsed |= masks[i];
    index.start.assign(static_cast<size_t>(rankBound(numbersUsed, hits)) + 1, 0);
    CombinationSubsets subsets;
    for (int32_t i = 0; i < count; ++i) {
        subsetsOf(masks[i], hits, subsets);
        for (int s = 0; s < subsets.count; ++s) ++index.start[subsets.ranks[s] + 1];
    }
    for (size_t r = 1; r < index.start.size(); ++r) index.start[r] += index.start[r - 1];
    index.targets.resize(index.start.back());
    std::vector<uint32_t> next(index.start.begin(), index.start.end() - 1);
    for (int32_t i = 0; i < count; ++i) {
        subsetsOf(masks[i], hits, subsets);
        for (int s = 0; s < subsets.count; ++s) index.targets[next[subsets.ranks[s]]++] = i;
    }
    return index;
}

RelationBuilt fillCovers(const RelationSources& sources, int32_t first, int32_t last, CoverRelation& relation,
                         std::vector<std::unique_ptr<uint16_t[]>>& chunks, std::atomic<int64_t>& unitsUsed,
                         int64_t unitLimit, const std::atomic<bool>& stop) {
    CoveredSet covered(relation.targetCount);
    ChunkWriter writer(chunks);
    for (int32_t c = first; c < last; ++c) {
        if ((c - first) % STOP_CHECK_INTERVAL == 0 && stop.load(std::memory_order_relaxed)) return RelationBuilt::Stopped;
        covered.mark(sources, sources.candidates[c]);
        int64_t units = 0;
        int32_t entries = 0;
        int32_t previous = -1;
        covered.visit([&](int32_t y) {
            units += gapUnits(y - previous);
            ++entries;
            previous = y;
        });
        relation.covers.sizes[c] = entries;
        if (unitsUsed.fetch_add(units) + units > unitLimit) return RelationBuilt::TooLarge;
        uint16_t* out = writer.room(units);
        relation.covers.begins[c] = out;
        previous = -1;
        covered.visit([&](int32_t y) {
            out = writeGap(out, y - previous);
            previous = y;
        });
        relation.covers.ends[c] = out;
        writer.used(out);
        covered.clear();
    }
    return RelationBuilt::Complete;
}

int64_t relationBound(const SubsetIndex& index, const uint64_t* candidates, int32_t count) {
    int64_t bound = 0;
    CombinationSubsets subsets;
    for (int32_t c = 0; c < count; ++c) {
        subsetsOf(candidates[c], index.hits, subsets);
        for (int s = 0; s < subsets.count; ++s) bound += index.start[subsets.ranks[s] + 1] - index.start[subsets.ranks[s]];
    }
    return bound;
}

void addReverseLists(CoverRelation& relation) {
    // Candidates are visited in ascending order, so every target's list comes out ascending.
    const size_t targets = static_cast<size_t>(relation.targetCount);
    std::vector<int32_t> previous(targets, -1);
    std::vector<int64_t> start(targets + 1, 0);
    for (int32_t c = 0; c < relation.candidateCount; ++c)
        for (const int32_t x : relation.targetsOf(c)) {
            start[x + 1] += gapUnits(c - previous[x]);
            previous[x] = c;
        }
    for (size_t x = 1; x <= targets; ++x) start[x] += start[x - 1];
    ListStore& lists = relation.coveredBy;
    lists.sizes.assign(targets, 0);
    for (int32_t c = 0; c < relation.candidateCount; ++c)
        for (const int32_t x : relation.targetsOf(c)) ++lists.sizes[x];
    lists.chunks.push_back(std::make_unique_for_overwrite<uint16_t[]>(static_cast<size_t>(std::max<int64_t>(1, start.back()))));
    std::vector<uint16_t*> out(targets);
    for (size_t x = 0; x < targets; ++x) out[x] = lists.chunks.back().get() + start[x];
    std::fill(previous.begin(), previous.end(), -1);
    for (int32_t c = 0; c < relation.candidateCount; ++c)
        for (const int32_t x : relation.targetsOf(c)) {
            out[x] = writeGap(out[x], c - previous[x]);
            previous[x] = c;
        }
    lists.begins.resize(targets);
    lists.ends.assign(out.begin(), out.end());
    for (size_t x = 0; x < targets; ++x) lists.begins[x] = lists.chunks.back().get() + start[x];
}

}  // namespace quillstep

#include "wheels/large_optimiser/weighted_search.h"

#include <algorithm>
#include <bit>

namespace quillstep::large {
namespace {

constexpr uint32_t FIRST_WEIGHT = 1000;
constexpr int64_t TABU_STEPS = 3;     // a number brought into a member stays this many steps
constexpr int NUMBER_SLOTS = 64;      // numbers are bits 1..40 of a mask; tables are indexed by them

class WeightedSearch {
public:
    WeightedSearch(Coverage& coverage, const uint64_t* masks, int64_t count, std::vector<uint64_t> members,
                   const WeightedSearchSettings& settings, Random& random)
        : coverage_(coverage), masks_(masks), count_(count), members_(std::move(members)), settings_(settings),
          random_(random), hits_(coverage.enumerator().hits()),
          weights_(static_cast<size_t>(coverage.storedCount()), FIRST_WEIGHT) {}

    WeightedSearchOutcome run(const StopFlag& stop, const std::function<void(const std::vector<uint64_t>&)>& onBest) {
        WeightedSearchOutcome outcome;
        outcome.best = members_;
        coverage_.listUncovered(masks_, count_);
        rebuildAll();
        int64_t movesAtBest = 0;
        for (;;) {
            while (coverage_.uncoveredCount() == 0) {
                movesAtBest = outcome.moves;
                outcome.best = members_;
                if (onBest) onBest(members_);
                if (members_.size() <= 1) return outcome;
                dropWeakestMember(stop);
                if (stop.load(std::memory_order_relaxed)) return outcome;
            }
            if (stop.load(std::memory_order_relaxed)) break;
            if (settings_.moveBudget > 0 && outcome.moves >= settings_.moveBudget) break;
            if (settings_.stallMoves > 0 && outcome.moves - movesAtBest > std::max(settings_.stallMoves, movesAtBest)) {
                outcome.stalled = true;
                break;
            }
            ++outcome.moves;
            step(outcome.moves);
            if (settings_.recountEveryMove && !recountAgrees()) {
                outcome.mismatch = true;
                break;
            }
        }
        return outcome;
    }

private:
    // The loss tables of slot j: soleLoss(j, a) and keptLoss(j, a, b).
    int64_t& soleLoss(size_t j, int a) { return sole_[j * NUMBER_SLOTS + static_cast<size_t>(a)]; }
    int64_t& keptLoss(size_t j, int a, int b) {
        return kept_[(j * NUMBER_SLOTS + static_cast<size_t>(a)) * NUMBER_SLOTS + static_cast<size_t>(b)];
    }

    // x, covered by slot j alone and sharing exactly t numbers with its member, enters (+w) or
    // leaves (-w) the slot's tables; `member` is the slot's member before or after a move.
    void addCritical(size_t j, uint64_t x, int64_t w) { addCritical(j, members_[j], x, w); }
    void addCritical(size_t j, uint64_t member, uint64_t x, int64_t w) {
        const uint64_t shared = x & member;
        const uint64_t outside = x & ~member;
        for (uint64_t s = shared; s != 0; s &= s - 1) {
            const int a = std::countr_zero(s);
            soleLoss(j, a) += w;
            for (uint64_t o = outside; o != 0; o &= o - 1) keptLoss(j, a, std::countr_zero(o)) += w;
        }
    }

    void rebuildSlot(size_t j) {
        std::fill_n(sole_.begin() + static_cast<std::ptrdiff_t>(j * NUMBER_SLOTS), NUMBER_SLOTS, 0);
        std::fill_n(kept_.begin() + static_cast<std::ptrdiff_t>(j * NUMBER_SLOTS * NUMBER_SLOTS),
                    NUMBER_SLOTS * NUMBER_SLOTS, 0);
        const uint64_t m = members_[j];
        coverage_.enumerator().forEachCovered(m, [&](uint64_t x, int32_t i) {
            if (bitCount(x & m) == hits_ && coverage_.count(i) == 1) addCritical(j, x, weights_[static_cast<size_t>(i)]);
        });
    }

    void rebuildAll() {
        words_ = (members_.size() + 63) / 64;
        slotsOfNumber_.assign(NUMBER_SLOTS * words_, 0);
        for (size_t j = 0; j < members_.size(); ++j) setSlotBits(j, members_[j], true);
        sole_.assign(members_.size() * NUMBER_SLOTS, 0);
        kept_.assign(members_.size() * NUMBER_SLOTS * NUMBER_SLOTS, 0);
        tabuUntil_.assign(members_.size() * NUMBER_SLOTS, 0);
        for (size_t j = 0; j < members_.size(); ++j) rebuildSlot(j);
    }

    void setSlotBits(size_t j, uint64_t numbers, bool set) {
        for (uint64_t n = numbers; n != 0; n &= n - 1) {
            uint64_t& word = slotsOfNumber_[static_cast<size_t>(std::countr_zero(n)) * words_ + j / 64];
            const uint64_t bit = uint64_t{1} << (j % 64);
            word = set ? (word | bit) : (word & ~bit);
        }
    }

    // The slot other than `excluded` whose member shares at least t numbers with x (the first
    // when there are several), or -1: the members' counts of shared numbers are added as
    // three-bit counters across the bit sets of x's numbers.
    int64_t coveringSlot(uint64_t x, size_t excluded) const {
        for (size_t w = 0; w < words_; ++w) {
            uint64_t s0 = 0, s1 = 0, s2 = 0;
            for (uint64_t n = x; n != 0; n &= n - 1) {
                const uint64_t bits = slotsOfNumber_[static_cast<size_t>(std::countr_zero(n)) * words_ + w];
                const uint64_t c0 = s0 & bits;
                s0 ^= bits;
                const uint64_t c1 = s1 & c0;
                s1 ^= c0;
                s2 |= c1;
            }
            uint64_t atLeast = hits_ == 4 ? s2 : (s2 & (s1 | s0));
            if (excluded / 64 == w) atLeast &= ~(uint64_t{1} << (excluded % 64));
            if (atLeast != 0) return static_cast<int64_t>(w * 64 + static_cast<size_t>(std::countr_zero(atLeast)));
        }
        return -1;
    }

    void step(int64_t stepNumber) {
        const auto& uncovered = coverage_.uncovered();
        const uint64_t u = uncovered[random_.below(uncovered.size())].mask;
        int64_t bestScore = INT64_MIN;
        size_t bestSlot = 0;
        int bestOut = 0, bestIn = 0, ties = 0;
        int64_t gainOf[NUMBER_SLOTS];
        for (size_t j = 0; j < members_.size(); ++j) {
            const uint64_t m = members_[j];
            if (bitCount(m & u) != hits_ - 1) continue;
            const uint64_t ins = u & ~m;
            for (uint64_t outs = m & ~u; outs != 0; outs &= outs - 1) {
                const int a = std::countr_zero(outs);
                if (tabuUntil_[j * NUMBER_SLOTS + static_cast<size_t>(a)] > stepNumber) continue;
                // An uncovered combination becomes covered by m - a + b when it shares t - 1
                // numbers with m - a and holds b (it cannot hold a: m would cover it).
                const uint64_t rest = m & ~(uint64_t{1} << a);
                for (uint64_t in = ins; in != 0; in &= in - 1) gainOf[std::countr_zero(in)] = 0;
                for (const Stored& y : uncovered)
                    if (bitCount(y.mask & rest) == hits_ - 1)
                        for (uint64_t in = ins & y.mask; in != 0; in &= in - 1)
                            gainOf[std::countr_zero(in)] += weights_[static_cast<size_t>(y.index)];
                for (uint64_t in = ins; in != 0; in &= in - 1) {
                    const int b = std::countr_zero(in);
                    const int64_t score = gainOf[b] - (soleLoss(j, a) - keptLoss(j, a, b));
                    if (score < bestScore) continue;
                    const uint64_t next = rest | uint64_t{1} << b;
                    if (!settings_.anyCombination && !coverage_.enumerator().index().isStored(next)) continue;
                    if (std::find(members_.begin(), members_.end(), next) != members_.end()) continue;
                    if (score > bestScore) {
                        bestScore = score;
                        ties = 0;
                    }
                    if (random_.below(static_cast<uint64_t>(++ties)) == 0) {
                        bestSlot = j;
                        bestOut = a;
                        bestIn = b;
                    }
                }
            }
        }
        if (bestScore == INT64_MIN) return;  // no move covers u: another one next time
        applyMove(bestSlot, bestOut, bestIn);
        tabuUntil_[bestSlot * NUMBER_SLOTS + static_cast<size_t>(bestIn)] = stepNumber + TABU_STEPS;
        for (const Stored& y : coverage_.uncovered()) ++weights_[static_cast<size_t>(y.index)];
    }

    // The move of slot j from old = S + a to next = S + b. The combinations whose cover changes
    // come from the enumeration of the move. Of those whose cover stays, with R the numbers
    // outside S, a and b and "the rest" 6 - t numbers of R, only three kinds enter or leave the
    // slot's tables: t of S + a + the rest (old shares t + 1, next t), t - 1 of S + a + b + the
    // rest (both share t, through a and through b) and t of S + b + the rest (old shares t, next
    // t + 1). Every other combination shares the same numbers with both or is covered by neither.
    void applyMove(size_t j, int a, int b) {
        const uint64_t old = members_[j];
        const uint64_t bitA = uint64_t{1} << a;
        const uint64_t bitB = uint64_t{1} << b;
        const uint64_t rest = old & ~bitA;
        const uint64_t next = rest | bitB;
        coverage_.enumerator().forEachChange(
            rest, a, b,
            [&](uint64_t x, int32_t i) {
                const int before = coverage_.count(i);
                coverage_.decrement({x, i});
                if (before == 1) addCritical(j, old, x, -int64_t{weights_[static_cast<size_t>(i)]});
                if (before == 2) noteSoleCover(x, i, j, +1);  // the other member now covers x alone
            },
            [&](uint64_t x, int32_t i) {
                const int before = coverage_.count(i);
                coverage_.increment({x, i});
                if (before == 0) addCritical(j, next, x, weights_[static_cast<size_t>(i)]);
                if (before == 1) noteSoleCover(x, i, j, -1);  // its member no longer covers x alone
            });
        const StoredIndex& index = coverage_.enumerator().index();
        const uint64_t others = coverage_.enumerator().allNumbers() & ~(old | bitB);
        fromS_.clear();
        appendSubsets(rest, hits_, fromS_);
        fewerFromS_.clear();
        appendSubsets(rest, hits_ - 1, fewerFromS_);
        fromR_.clear();
        appendSubsets(others, NUMBERS_PER_COMBINATION - hits_ - 1, fromR_);
        keysOfR_.resize(fromR_.size());
        for (size_t r = 0; r < fromR_.size(); ++r) keysOfR_[r] = sumAndOddKey(fromR_[r]);
        const auto forEachStored = [&](const std::vector<uint64_t>& parts, uint64_t added, auto&& visit) {
            for (const uint64_t part : parts) {
                const uint32_t key = sumAndOddKey(part | added);
                for (size_t r = 0; r < fromR_.size(); ++r) {
                    if (!index.mayHoldKey(key + keysOfR_[r])) continue;
                    const uint64_t x = part | added | fromR_[r];
                    const int32_t i = index.indexOf(x);
                    if (i >= 0 && coverage_.count(i) == 1) visit(x, int64_t{weights_[static_cast<size_t>(i)]});
                }
            }
        };
        forEachStored(fromS_, bitA, [&](uint64_t x, int64_t w) { addCritical(j, next, x, w); });
        forEachStored(fewerFromS_, bitA | bitB, [&](uint64_t x, int64_t w) {
            addCritical(j, old, x, -w);
            addCritical(j, next, x, w);
        });
        forEachStored(fromS_, bitB, [&](uint64_t x, int64_t w) { addCritical(j, old, x, -w); });
        setSlotBits(j, old, false);
        members_[j] = next;
        setSlotBits(j, next, true);
    }

    void noteSoleCover(uint64_t x, int32_t i, size_t moved, int sign) {
        const int64_t k = coveringSlot(x, moved);
        if (k < 0) return;
        const size_t slot = static_cast<size_t>(k);
        if (bitCount(x & members_[slot]) == hits_) addCritical(slot, x, sign * int64_t{weights_[static_cast<size_t>(i)]});
    }

    void dropWeakestMember(const StopFlag& stop) {
        if (stop.load(std::memory_order_relaxed)) return;
        dropMemberCoveringLeastAlone(coverage_, members_);
        rebuildAll();
    }

    bool recountAgrees() {
        if (!agreesWithRecount(coverage_, members_)) return false;
        const std::vector<int64_t> sole = sole_;
        const std::vector<int64_t> kept = kept_;
        for (size_t j = 0; j < members_.size(); ++j) rebuildSlot(j);
        return sole == sole_ && kept == kept_;
    }

    Coverage& coverage_;
    const uint64_t* masks_;
    const int64_t count_;
    std::vector<uint64_t> members_;
    const WeightedSearchSettings& settings_;
    Random& random_;
    const int hits_;
    std::vector<uint32_t> weights_;        // by stored index
    size_t words_ = 0;                      // of a bit set of slots
    std::vector<uint64_t> slotsOfNumber_;  // [number][word]: the slots whose member holds the number
    std::vector<int64_t> sole_;            // [slot][a]
    std::vector<int64_t> kept_;            // [slot][a][b]
    std::vector<int64_t> tabuUntil_;       // [slot][number]: not taken out before this step
    std::vector<uint64_t> fromS_, fewerFromS_, fromR_;  // a move's parts of combinations
    std::vector<uint32_t> keysOfR_;
};

}  // namespace

WeightedSearchOutcome searchWeighted(Coverage& coverage, const uint64_t* masks, int64_t count,
                                     std::vector<uint64_t> members, const WeightedSearchSettings& settings,
                                     Random& random, const StopFlag& stop,
                                     const std::function<void(const std::vector<uint64_t>&)>& onBest) {
    WeightedSearch search(coverage, masks, count, std::move(members), settings, random);
    return search.run(stop, onBest);
}

}  // namespace quillstep::large

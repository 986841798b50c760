// Sixty-four greedy passes in one walk through the tree of common beginnings.
//
// Let h be the guaranteed hits and t = h - 1. A stored combination is covered by a system member
// exactly when the two share h numbers. The walk goes through the tree in number order, so it
// meets the stored combinations in store order, and keeps for the prefix P it stands on:
//
//   reach(P)[w] = the lanes whose system holds a member with the number w and t numbers of P
//                 (for every w above the last number of P).
//
// A member counted in reach(P)[v] shares h numbers with every combination that begins with P and
// then v, and every member that covers all of them is such a member or shares h numbers with P
// itself. So, from depth t on, the child v of P is wholly covered in a lane exactly when the lane
// is in reach(P)[v]; the walk enters a child only for the lanes where it is not, and a stored
// combination it reaches that way is the next one the lane's pass adds. Going one number deeper,
// reach(P + v) = reach(P) | the rows of every (t-1)-subset S of P with v: row(S, v)[w] holds the
// lanes with a member containing S, v and w. Adding a member sets its bit in the rows of its
// t-subsets, so every reach computed later counts it.
//
// A member added below the prefix Q of depth h (Q = P + v at the root's children) holds all of Q:
// the whole rest of Q's subtree is covered in that lane, which leaves it there. At the root P
// (depth t) the member is counted in reach(P) at once. Each lane thus adds the same members in the
// same order as its own pass would, and ends when its system reaches its stop size.
//
// The rows: one per t-subset {S, v} (v above the numbers of S), holding a word for each number w
// above v; they are laid out by the rank of S, then by v. Four hits need 91,390 words, five hits
// 658,008.

#include "wheels/greedy/bit_lane_passes.h"

#include <algorithm>
#include <bit>

#include "wheels/subsets.h"

namespace quillstep {
namespace {

// Where the rows of each (t-1)-subset S begin: word(S, v, w) = subsetBase[rank S] + rowStart[v] + w.
template <int T>
struct RowLayout {
    static constexpr int SUBSET = T - 1;
    int64_t rowStart[NUMBER_LIMIT];                // relative start of the row of v, minus v + 1
    std::vector<int64_t> subsetBase;          // by colex rank of S
    int64_t words = 0;

    RowLayout() {
        // tail[u]: the words of the rows of 0 to u - 1 (row v holds NUMBER_LIMIT - 1 - v words).
        int64_t tail[NUMBER_LIMIT + 1] = {0};
        for (int u = 0; u < NUMBER_LIMIT; ++u) tail[u + 1] = tail[u] + (NUMBER_LIMIT - 1 - u);
        for (int v = 0; v < NUMBER_LIMIT; ++v) rowStart[v] = tail[v] - v - 1;
        subsetBase.assign(static_cast<size_t>(binomial(NUMBER_LIMIT, SUBSET)), 0);
        // The subsets in rank order: the rank grows with the largest number first.
        std::vector<int> largest(subsetBase.size());
        int numbers[SUBSET];
        for (int i = 0; i < SUBSET; ++i) numbers[i] = i;
        for (;;) {
            largest[static_cast<size_t>(rank(numbers))] = numbers[SUBSET - 1];
            int i = SUBSET - 1;
            while (i >= 0 && numbers[i] == NUMBER_LIMIT - SUBSET + i) --i;
            if (i < 0) break;
            ++numbers[i];
            for (int j = i + 1; j < SUBSET; ++j) numbers[j] = numbers[j - 1] + 1;
        }
        for (size_t r = 0; r < subsetBase.size(); ++r) {
            const int top = largest[r];
            subsetBase[r] = words - tail[top + 1];
            words += tail[NUMBER_LIMIT] - tail[top + 1];
        }
    }

    static int64_t rank(const int* numbers) {
        int64_t r = 0;
        for (int i = 0; i < SUBSET; ++i) r += BINOMIALS[numbers[i]][i + 1];
        return r;
    }
};

template <int T>
const RowLayout<T>& rowLayout() {
    static const RowLayout<T> layout;
    return layout;
}

int64_t coverageWords(int hits) { return hits == 4 ? rowLayout<3>().words : rowLayout<4>().words; }

template <int T>
class LaneWalk {
public:
    LaneWalk(const StoreTrie& trie, const std::vector<uint64_t>& masks, uint64_t* table, LaneBatch& batch)
        : trie_(trie), masks_(masks), layout_(rowLayout<T>()), table_(table), batch_(batch) {}

    void run() {
        for (int lane = 0; lane < batch_.lanes; ++lane) {
            size_[lane] = 0;
            alive_ |= uint64_t{1} << lane;
            addMember(lane, masks_[static_cast<size_t>(batch_.startIndex[lane])]);
        }
        const uint64_t everyLane = alive_;
        const int32_t roots = static_cast<int32_t>(trie_.rootNumbers.size());
        for (int32_t root = 0; root < roots && alive_; ++root) {
            Prefix<T> prefix;
            for (int i = 0; i < T; ++i) prefix.numbers[i] = trie_.rootNumbers[static_cast<size_t>(root)][i];
            const uint64_t* own = row(subsetBase(prefix.numbers), prefix.numbers[T - 1]);
            for (int w = prefix.numbers[T - 1] + 1; w < NUMBER_LIMIT; ++w) prefix.reach[w] = own[w];
            for (int leave = 0; leave < T; ++leave) {
                int rest[T - 1];
                for (int i = 0, j = 0; i < T; ++i)
                    if (i != leave) rest[j++] = prefix.numbers[i];
                prefix.subsets[leave] = subsetBase(rest);
            }
            walkChildren<T>(prefix, root, everyLane);
        }
        for (int lane = 0; lane < batch_.lanes; ++lane) batch_.size[lane] = size_[lane];
    }

private:
    // A prefix of K numbers with its reach and the row bases of its (t-1)-subsets.
    template <int K>
    struct Prefix {
        static constexpr int SUBSETS = static_cast<int>(binomial(K, T - 1));
        int numbers[K];
        int64_t subsets[SUBSETS];
        uint64_t reach[NUMBER_LIMIT];
    };

    int64_t subsetBase(const int* numbers) const {
        return layout_.subsetBase[static_cast<size_t>(RowLayout<T>::rank(numbers))];
    }
    // row(S, v)[w] is the word of S, v and w, for w above v.
    uint64_t* row(int64_t base, int v) const { return table_ + base + layout_.rowStart[v]; }

    void addMember(int lane, uint64_t member) {
        const uint64_t bit = uint64_t{1} << lane;
        int numbers[NUMBERS_PER_COMBINATION];
        for (int& number : numbers) {
            number = std::countr_zero(member);
            member &= member - 1;
        }
        // Every t-subset {S, v}: its row gets the lane at the member's numbers above v.
        int positions[T];
        for (int i = 0; i < T; ++i) positions[i] = i;
        for (;;) {
            int subset[T - 1];
            for (int i = 0; i < T - 1; ++i) subset[i] = numbers[positions[i]];
            uint64_t* words = row(subsetBase(subset), numbers[positions[T - 1]]);
            for (int p = positions[T - 1] + 1; p < NUMBERS_PER_COMBINATION; ++p) words[numbers[p]] |= bit;
            int i = T - 1;
            while (i >= 0 && positions[i] == NUMBERS_PER_COMBINATION - T + i) --i;
            if (i < 0) break;
            ++positions[i];
            for (int j = i + 1; j < T; ++j) positions[j] = positions[j - 1] + 1;
        }
        if (++size_[lane] >= batch_.stopSize[lane]) alive_ &= ~bit;
    }

    // Walks the children of `prefix` (trie node `node` at depth K) for `lanes`; returns the lanes
    // that added a member below it.
    template <int K>
    uint64_t walkChildren(Prefix<K>& prefix, int32_t node, uint64_t lanes) {
        using Child = Prefix<K + 1>;
        uint64_t added = 0;
        const uint64_t followers = trie_.followers[K][static_cast<size_t>(node)];
        int32_t child = trie_.firstChild[K][static_cast<size_t>(node)];
        for (uint64_t rest = followers; rest != 0; rest &= rest - 1, ++child) {
            const uint64_t open = lanes & alive_;
            if (open == 0) break;
            const int v = std::countr_zero(rest);
            const uint64_t entering = open & ~prefix.reach[v];
            if (entering == 0) continue;
            const uint64_t* rows[Prefix<K>::SUBSETS];
            for (int i = 0; i < Prefix<K>::SUBSETS; ++i) rows[i] = row(prefix.subsets[i], v);

            uint64_t addedHere;
            if constexpr (K == 5) {
                addedHere = walkLeaves(child, entering, prefix.reach, rows);
            } else {
                Child next;
                for (int w = v + 1; w < NUMBER_LIMIT; ++w) {
                    uint64_t word = prefix.reach[w];
                    for (int i = 0; i < Prefix<K>::SUBSETS; ++i) word |= rows[i][w];
                    next.reach[w] = word;
                }
                std::copy(prefix.numbers, prefix.numbers + K, next.numbers);
                next.numbers[K] = v;
                std::copy(prefix.subsets, prefix.subsets + Prefix<K>::SUBSETS, next.subsets);
                int count = Prefix<K>::SUBSETS;
                // The new (t-1)-subsets: v with each (t-2)-subset of the prefix.
                if constexpr (T == 3) {
                    for (int a = 0; a < K; ++a)
                        next.subsets[count++] = layout_.subsetBase[static_cast<size_t>(
                            BINOMIALS[prefix.numbers[a]][1] + BINOMIALS[v][2])];
                } else {
                    for (int a = 0; a < K; ++a)
                        for (int b = a + 1; b < K; ++b)
                            next.subsets[count++] = layout_.subsetBase[static_cast<size_t>(
                                BINOMIALS[prefix.numbers[a]][1] + BINOMIALS[prefix.numbers[b]][2] +
                                BINOMIALS[v][3])];
                }
                addedHere = walkChildren<K + 1>(next, child, entering);
            }
            if (addedHere == 0) continue;
            added |= addedHere;
            if constexpr (K == T) {
                // Each lane added one member below the child; the root counts it from now on.
                const uint64_t above = ~uint64_t{0} << prefix.numbers[T - 1] << 1;
                for (uint64_t each = addedHere; each != 0; each &= each - 1) {
                    const uint64_t bit = each & (~each + 1);
                    for (uint64_t numbers = last_[std::countr_zero(each)] & above; numbers != 0; numbers &= numbers - 1)
                        prefix.reach[std::countr_zero(numbers)] |= bit;
                }
            } else {
                lanes &= ~addedHere;  // the rest of the depth-h subtree is covered in those lanes
            }
        }
        return added;
    }

    // The stored combinations below the depth-6 node `node` (prefix P + v): the first one a lane
    // does not cover is added to it, which covers the rest of the node in that lane.
    uint64_t walkLeaves(int32_t node, uint64_t lanes, const uint64_t* reach, const uint64_t* const* rows) {
        constexpr int SUBSETS = static_cast<int>(binomial(5, T - 1));
        uint64_t added = 0;
        const uint64_t leaves = trie_.followers[6][static_cast<size_t>(node)];
        const int32_t firstLeaf = trie_.firstChild[6][static_cast<size_t>(node)];
        for (uint64_t rest = leaves; rest != 0 && (lanes & alive_) != 0; rest &= rest - 1) {
            const int w = std::countr_zero(rest);
            uint64_t uncovered = lanes & alive_ & ~reach[w];
            for (int i = 0; i < SUBSETS && uncovered != 0; ++i) uncovered &= ~rows[i][w];
            if (uncovered == 0) continue;
            const int32_t index = firstLeaf + std::popcount(leaves & ((uint64_t{1} << w) - 1));
            const uint64_t member = masks_[static_cast<size_t>(index)];
            for (uint64_t each = uncovered; each != 0; each &= each - 1) {
                const int lane = std::countr_zero(each);
                last_[lane] = member;
                addMember(lane, member);
            }
            lanes &= ~uncovered;
            added |= uncovered;
        }
        return added;
    }

    const StoreTrie& trie_;
    const std::vector<uint64_t>& masks_;
    const RowLayout<T>& layout_;
    uint64_t* table_;
    LaneBatch& batch_;
    uint64_t alive_ = 0;  // lanes whose pass goes on
    int32_t size_[PASS_LANES];
    uint64_t last_[PASS_LANES];  // each lane's newest member
};

}  // namespace

LaneCoverage::LaneCoverage(int guaranteedHits)
    : hits_(guaranteedHits), words_(static_cast<size_t>(coverageWords(guaranteedHits))) {}

void LaneCoverage::clear() { std::fill(words_.begin(), words_.end(), 0); }

void runLanePasses(const StoreTrie& trie, const std::vector<uint64_t>& masks, LaneCoverage& coverage,
                   LaneBatch& batch) {
    coverage.clear();
    if (coverage.guaranteedHits() == 4) {
        LaneWalk<3>(trie, masks, coverage.words(), batch).run();
    } else {
        LaneWalk<4>(trie, masks, coverage.words(), batch).run();
    }
}

}  // namespace quillstep

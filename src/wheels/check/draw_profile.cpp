// The profile over every draw walks the draws in lexicographic order, the way the enumeration
// kernels do, and keeps for every prefix of a draw how many numbers each line shares with it.
// Those counts are bit-sliced: plane j holds bit j of every line's count, 64 lines to a word, so
// that adding one number to the prefix is a carry chain over the words of the lines holding it
// (three ANDs and XORs per 64 lines), with no loop over the lines themselves.
//
// The seventh number is not walked one by one. After six numbers, let M be the highest count of
// any line and E the lines that reach it (found plane by plane from the top bit, again by word
// operations). A seventh number b then gives M + 1 exactly when some line of E holds b, and M
// otherwise; so the draws of one six-number prefix are counted at once, from the union of the
// lines of E (when E is small) or from a test of E against the lines of each b (when it is large).
//
// The draws are split into pieces by their first two numbers, taken by the threads from a
// shared counter; every piece keeps its own counts, added together at the end.

#include "wheels/check/draw_profile.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <system_error>
#include <thread>
#include <vector>

#include "wheels/subsets.h"
#include "base/worker_threads.h"

namespace quillstep {
namespace {

constexpr int COUNT_PLANES = 3;  // counts of a six-number prefix are 0 to 6

// The lines as bit sets: for every number, the lines that hold it.
class LineSets {
public:
    LineSets(const uint64_t* system, int64_t size, int totalNumbers)
        : system_(system),
          size_(size),
          words_(static_cast<size_t>((size + 63) / 64)),
          holders_(static_cast<size_t>(totalNumbers + 1) * words_, 0) {
        for (int64_t line = 0; line < size; ++line)
            for (int v = 1; v <= totalNumbers; ++v)
                if (system[line] & (uint64_t{1} << v))
                    holders_[static_cast<size_t>(v) * words_ + static_cast<size_t>(line >> 6)] |= uint64_t{1}
                                                                                              << (line & 63);
    }

    size_t words() const { return words_; }
    const uint64_t* holdersOf(int v) const { return holders_.data() + static_cast<size_t>(v) * words_; }
    uint64_t line(int64_t index) const { return system_[index]; }
    // The bits of the last word that stand for lines.
    uint64_t usedBitsOfWord(size_t w) const {
        const int64_t left = size_ - static_cast<int64_t>(w) * 64;
        return left >= 64 ? ~uint64_t{0} : (uint64_t{1} << left) - 1;
    }

private:
    const uint64_t* system_;
    int64_t size_;
    size_t words_;
    std::vector<uint64_t> holders_;
};

// One thread's walk through the draws of the pieces it takes.
class DrawWalk {
public:
    DrawWalk(const LineSets& lines, int totalNumbers)
        : lines_(lines),
          total_(totalNumbers),
          words_(lines.words()),
          levels_(static_cast<size_t>(NUMBERS_PER_COMBINATION) * COUNT_PLANES * words_, 0),
          best_(words_),
          trial_(words_) {}

    // The draws that begin with `first` and `second`.
    void walkPiece(int first, int second) {
        addNumber(0, first);
        addNumber(1, second);
        extend(2, second);
    }

    const std::array<int64_t, 8>& counts() const { return counts_; }

private:
    uint64_t* level(int chosen) { return levels_.data() + static_cast<size_t>(chosen) * COUNT_PLANES * words_; }

    // The counts after `chosen` + 1 numbers: those after `chosen` numbers, plus one for every line
    // holding v.
    void addNumber(int chosen, int v) {
        const uint64_t* from = level(chosen);
        uint64_t* to = level(chosen + 1);
        const uint64_t* holders = lines_.holdersOf(v);
        const size_t n = words_;
        for (size_t w = 0; w < n; ++w) {
            uint64_t carry = holders[w];
            const uint64_t b0 = from[w], b1 = from[n + w], b2 = from[2 * n + w];
            to[w] = b0 ^ carry;
            carry &= b0;
            to[n + w] = b1 ^ carry;
            carry &= b1;
            to[2 * n + w] = b2 ^ carry;
        }
    }

    void extend(int chosen, int last) {
        if (chosen == NUMBERS_PER_COMBINATION - 1) {
            countLastNumber(last);
            return;
        }
        const int highest = total_ - (NUMBERS_PER_COMBINATION - 1 - chosen);
        for (int v = last + 1; v <= highest; ++v) {
            addNumber(chosen, v);
            extend(chosen + 1, v);
        }
    }

    // The draws that add one number above `last` to the six numbers chosen.
    void countLastNumber(int last) {
        const uint64_t* planes = level(NUMBERS_PER_COMBINATION - 1);
        const size_t n = words_;
        for (size_t w = 0; w < n; ++w) best_[w] = lines_.usedBitsOfWord(w);
        int highest = 0;
        for (int plane = COUNT_PLANES - 1; plane >= 0; --plane) {
            uint64_t any = 0;
            for (size_t w = 0; w < n; ++w) {
                trial_[w] = best_[w] & planes[static_cast<size_t>(plane) * n + w];
                any |= trial_[w];
            }
            if (any != 0) {
                best_.swap(trial_);
                highest |= 1 << plane;
            }
        }
        const int64_t remaining = total_ - last;
        const int64_t raised = drawsRaised(last, remaining);
        counts_[static_cast<size_t>(highest) + 1] += raised;
        counts_[static_cast<size_t>(highest)] += remaining - raised;
    }

    // How many numbers above `last` lie in a line of best_.
    int64_t drawsRaised(int last, int64_t remaining) {
        const size_t n = words_;
        int64_t bestLines = 0;
        for (size_t w = 0; w < n; ++w) bestLines += std::popcount(best_[w]);
        if (bestLines <= remaining * static_cast<int64_t>(n)) {
            uint64_t numbers = 0;
            for (size_t w = 0; w < n; ++w)
                for (uint64_t bits = best_[w]; bits != 0; bits &= bits - 1)
                    numbers |= lines_.line(static_cast<int64_t>(w * 64) + std::countr_zero(bits));
            const uint64_t above = numbersBetween(last + 1, total_);
            return std::popcount(numbers & above);
        }
        int64_t raised = 0;
        for (int v = last + 1; v <= total_; ++v) {
            const uint64_t* holders = lines_.holdersOf(v);
            uint64_t shared = 0;
            for (size_t w = 0; w < n; ++w) shared |= best_[w] & holders[w];
            raised += shared != 0;
        }
        return raised;
    }

    const LineSets& lines_;
    const int total_;
    const size_t words_;
    std::vector<uint64_t> levels_;  // the counts after 1 to 6 numbers (level 0 is unused: all zero)
    std::vector<uint64_t> best_;
    std::vector<uint64_t> trial_;
    std::array<int64_t, 8> counts_{};
};

struct Piece {
    int first, second;
};

// The pieces in lexicographic order, each the draws beginning with two given numbers.
std::vector<Piece> piecesOf(int totalNumbers) {
    std::vector<Piece> pieces;
    for (int first = 1; first <= totalNumbers - 6; ++first)
        for (int second = first + 1; second <= totalNumbers - 5; ++second) pieces.push_back({first, second});
    return pieces;
}

}  // namespace

DrawProfile profileAllDraws(const uint64_t* system, int64_t systemSize, int totalNumbers, unsigned threads) {
    DrawProfile profile;
    if (totalNumbers < PROFILE_LOWEST_TOTAL || totalNumbers > PROFILE_HIGHEST_TOTAL) return profile;
    profile.draws = binomial(totalNumbers, NUMBERS_PER_COMBINATION);
    if (systemSize <= 0) {
        profile.bestMatchCounts[0] = profile.draws;
        return profile;
    }
    const LineSets lines(system, systemSize, totalNumbers);
    const std::vector<Piece> pieces = piecesOf(totalNumbers);
    const unsigned wanted = workerThreadCount(threads);
    const unsigned workers = static_cast<unsigned>(std::min<size_t>(wanted, pieces.size()));

    std::atomic<size_t> nextPiece{0};
    std::vector<std::array<int64_t, 8>> counts(workers);
    const auto work = [&](unsigned worker) {
        DrawWalk walk(lines, totalNumbers);
        for (size_t p = nextPiece++; p < pieces.size(); p = nextPiece++) walk.walkPiece(pieces[p].first, pieces[p].second);
        counts[worker] = walk.counts();
    };
    // Workers take pieces from one counter: should a thread not start, the others do its share
    // (worker_threads.h); a worker's exception reaches the caller once all have ended.
    WorkerRun run;
    run.parts = workers;
    run.work = work;
    runWorkers(run);
    for (const auto& workerCounts : counts)
        for (size_t k = 0; k < workerCounts.size(); ++k) profile.bestMatchCounts[k] += workerCounts[k];
    return profile;
}

DrawMatch matchDraw(uint64_t draw, const uint64_t* system, int64_t systemSize) {
    DrawMatch match;
    for (int64_t line = 0; line < systemSize; ++line) {
        const int shared = std::min(NUMBERS_PER_COMBINATION, std::popcount(draw & system[line]));
        ++match.linesByHits[static_cast<size_t>(shared)];
        if (match.bestLine < 0 || shared > match.bestHits) {
            match.bestHits = shared;
            match.bestLine = line;
        }
    }
    return match;
}

}  // namespace quillstep

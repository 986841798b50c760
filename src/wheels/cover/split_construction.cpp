#include "wheels/cover/split_construction.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

#include "wheels/cover/cover_search.h"
#include "wheels/cover/lower_bound.h"
#include "wheels/random.h"

namespace quillstep::cover {
namespace {

using Clock = std::chrono::steady_clock;

// Of the time share, what the first searches of the parts may take while plans are compared; the
// rest (and what they leave) goes to the parts of the best plan.
constexpr double PLANNING_SHARE = 0.5;
// Of the planning time, what one first search of a part may take (the same for every part, so
// that plans are compared on equal terms; many parts end sooner, at their lower bound).
constexpr double FIRST_SEARCH_SHARE = 0.1;
// No search of a part starts with less time than this.
constexpr double SHORTEST_SEARCH_SECONDS = 0.02;
// A first search of a part has at least this long (while the share lasts): enough for the
// greedy start of a part of twenty numbers at 4 if 4 on a busy machine, when the share is short.
constexpr double SHORTEST_FIRST_SEARCH_SECONDS = 0.25;

uint64_t lowElements(int n) { return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1; }

struct Split {
    int partSize = 0;  // part A: elements 0 to partSize - 1; 0: no split
    int firstDrawn = 0;  // s1; part B (the rest) takes s + 1 - s1
};

// The best covering known of a subproblem: n elements, s drawn (tickets and hits the model's).
struct Entry {
    bool planned = false;
    std::vector<uint64_t> direct;  // the covering search's answer on the whole subproblem
    Split split;                   // partSize 0: the best covering is `direct`
    int64_t size = 0;              // tickets of the best covering (0: none)
};

class SplitPlanner {
public:
    SplitPlanner(const CoverModel& model, const SplitSettings& settings)
        : model_(model), settings_(settings), start_(Clock::now()) {}

    SplitCovering plan(const Split* first) {
        const int n = model_.elements, m = model_.targetSize;
        Entry& top = entries_[{n, m}];
        if (first == nullptr) {
            solve(n, m, false);
        } else {
            top.planned = true;
            const int64_t size = splitSize(n, m, *first, 0);
            if (size > 0) choose(n, m, top, *first, size);
        }
        if (top.size > 0 && !stopped_) refine(n, m);
        SplitCovering result;
        if (top.size > 0) result.tickets = assemble(n, m);
        result.searches = searches_;
        result.stopped = stopped_;
        result.seconds = elapsed();
        return result;
    }

private:
    double elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    double shareLeft() const { return settings_.timeShareSeconds - elapsed(); }
    double planningLeft() const { return settings_.timeShareSeconds * PLANNING_SHARE - elapsed(); }
    bool splits(int drawn) const { return 2 * model_.hits <= drawn + 1; }

    int64_t partLowerBound(int size, int drawn) const {
        if (drawn > size) return 0;
        if (size <= model_.ticketSize) return 1;
        return coveringLowerBound(size, model_.ticketSize, model_.hits, drawn);
    }

    void choose(int n, int s, Entry& entry, Split split, int64_t size) {
        entry.split = split;
        entry.size = size;
        if (n == model_.elements && s == model_.targetSize) {
            bestWhole_ = size;
            report();
        }
    }

    // The best covering of n elements at s drawn: the covering search on them (`direct`), and
    // the splits in the order of their lower bounds while one may still beat the best.
    const Entry& solve(int n, int s, bool direct) {
        Entry& entry = entries_[{n, s}];
        if (entry.planned) return entry;
        entry.planned = true;
        if (direct) {
            const double slice = settings_.timeShareSeconds * PLANNING_SHARE * FIRST_SEARCH_SHARE;
            entry.direct = searchPart(n, s, {}, std::max(std::min(slice, planningLeft()), SHORTEST_FIRST_SEARCH_SECONDS));
            entry.size = static_cast<int64_t>(entry.direct.size());
        }
        if (!splits(s)) return entry;
        const int64_t bound = coveringLowerBound(n, model_.ticketSize, model_.hits, s);
        struct Candidate {
            Split split;
            int64_t bound;
            int imbalance;
        };
        std::vector<Candidate> candidates;
        for (int a = 1; 2 * a <= n; ++a)
            for (int s1 = model_.hits; s1 <= s + 1 - model_.hits; ++s1) {
                const int s2 = s + 1 - s1;
                if (2 * a == n && s1 > s2) continue;  // the same split with the parts swapped
                candidates.push_back({{a, s1}, partLowerBound(a, s1) + partLowerBound(n - a, s2), std::abs(n - 2 * a)});
            }
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& x, const Candidate& y) {
            return x.bound != y.bound ? x.bound < y.bound : x.imbalance < y.imbalance;
        });
        for (const Candidate& candidate : candidates) {
            if (entry.size > 0 && (candidate.bound >= entry.size || entry.size <= bound)) break;
            if (stopped_ || planningLeft() < SHORTEST_SEARCH_SECONDS) break;
            const int64_t size = splitSize(n, s, candidate.split, entry.size);
            if (size > 0 && (entry.size == 0 || size < entry.size)) choose(n, s, entry, candidate.split, size);
        }
        return entry;
    }

    // The size of a split's covering, its parts solved first; 0 when a part has no covering or
    // when the split cannot go below `toBeat` (0: nothing to beat).
    int64_t splitSize(int n, int s, Split split, int64_t toBeat) {
        const std::pair<int, int> parts[2] = {{split.partSize, split.firstDrawn},
                                              {n - split.partSize, s + 1 - split.firstDrawn}};
        int64_t total = 0;
        for (int i = 0; i < 2; ++i) {
            const auto [size, drawn] = parts[i];
            const int64_t rest = i == 0 ? partLowerBound(parts[1].first, parts[1].second) : 0;
            int64_t part = 0;
            if (drawn > size) {
                part = 0;
            } else if (size <= model_.ticketSize) {
                part = 1;
            } else {
                part = solve(size, drawn, true).size;
                if (part == 0) return 0;
            }
            total += part;
            if (toBeat > 0 && total + rest >= toBeat) return 0;
        }
        return total;
    }

    // Every part of the chosen plan that a covering search answers (each once), and the searches
    // again on them from where they stand, with the share's rest in proportion to their sizes.
    void refine(int n, int s) {
        std::set<std::pair<int, int>> leaves;
        collectLeaves(n, s, leaves);
        std::vector<std::pair<int, int>> open;
        int64_t sizes = 0;
        for (const auto& leaf : leaves) {
            const Entry& entry = entries_.at(leaf);
            if (entry.size > coveringLowerBound(leaf.first, model_.ticketSize, model_.hits, leaf.second)) {
                open.push_back(leaf);
                sizes += entry.size;
            }
        }
        // The largest first: it gains most from the time.
        std::sort(open.begin(), open.end(),
                  [&](const auto& x, const auto& y) { return entries_.at(x).size > entries_.at(y).size; });
        for (const auto& leaf : open) {
            Entry& entry = entries_.at(leaf);
            const double limit = shareLeft() * static_cast<double>(entry.size) / static_cast<double>(sizes);
            sizes -= entry.size;
            const std::vector<uint64_t> better = searchPart(leaf.first, leaf.second, entry.direct, limit);
            if (!better.empty() && static_cast<int64_t>(better.size()) < entry.size) {
                entry.direct = better;
                entry.size = static_cast<int64_t>(better.size());
            }
            if (stopped_) return;
        }
    }

    void collectLeaves(int n, int s, std::set<std::pair<int, int>>& leaves) const {
        const Entry& entry = entries_.at({n, s});
        if (entry.split.partSize == 0) {
            leaves.insert({n, s});
            return;
        }
        const std::pair<int, int> parts[2] = {{entry.split.partSize, entry.split.firstDrawn},
                                              {n - entry.split.partSize, s + 1 - entry.split.firstDrawn}};
        for (const auto& [size, drawn] : parts)
            if (drawn <= size && size > model_.ticketSize) collectLeaves(size, drawn, leaves);
    }

    // The tickets of the best covering of n elements at s drawn, on the elements 0 to n - 1.
    std::vector<uint64_t> assemble(int n, int s) const {
        const Entry& entry = entries_.at({n, s});
        if (entry.split.partSize == 0) return entry.direct;
        const int a = entry.split.partSize;
        const uint64_t first = lowElements(a), second = lowElements(n) & ~first;
        std::vector<uint64_t> tickets;
        addPart(a, entry.split.firstDrawn, 0, second, tickets);
        addPart(n - a, s + 1 - entry.split.firstDrawn, a, first, tickets);
        std::sort(tickets.begin(), tickets.end());
        tickets.erase(std::unique(tickets.begin(), tickets.end()), tickets.end());
        return tickets;
    }

    // A part of `size` elements from `offset` on, at `drawn`: nothing when drawn > size, the whole
    // part filled up with the lowest elements of `other` when it fits one ticket, else its
    // covering moved to its elements.
    void addPart(int size, int drawn, int offset, uint64_t other, std::vector<uint64_t>& tickets) const {
        if (drawn > size) return;
        if (size <= model_.ticketSize) {
            uint64_t ticket = lowElements(size) << offset;
            for (uint64_t rest = other; rest != 0 && std::popcount(ticket) < model_.ticketSize; rest &= rest - 1)
                ticket |= uint64_t{1} << std::countr_zero(rest);
            tickets.push_back(ticket);
            return;
        }
        for (const uint64_t ticket : assemble(size, drawn)) tickets.push_back(ticket << offset);
    }

    // A covering search on n elements at s drawn, from `start` (empty: greedy), for at most
    // `limit` seconds and never past the share; empty when it found no covering.
    std::vector<uint64_t> searchPart(int n, int s, const std::vector<uint64_t>& start, double limit) {
        if (stopped_) return {};
        if (settings_.stopRequested && settings_.stopRequested()) {
            stopped_ = true;
            return {};
        }
        const double startedAt = elapsed();
        limit = std::min(limit, settings_.timeShareSeconds - startedAt);
        if (limit < SHORTEST_SEARCH_SECONDS) return {};
        CoverModel part;
        part.elements = n;
        part.ticketSize = model_.ticketSize;
        part.hits = model_.hits;
        part.targetSize = s;
        CoverSearchSettings search;
        search.timeLimitSeconds = limit;
        search.seed = mixSeed(settings_.seed, ++searchesRun_);
        search.threads = settings_.threads;
        search.moveBudget = settings_.moveBudget;
        search.lowerBound = coveringLowerBound(n, model_.ticketSize, model_.hits, s);
        search.annealing = annealingFor(part);
        search.startTickets = start;
        search.stopRequested = settings_.stopRequested;
        search.onProgress = [this](const CoverProgress&) { report(); };
        PartSearch record;
        record.startedAt = startedAt;
        record.timeLimit = limit;
        record.elements = n;
        record.drawn = s;
        const CoverSearchResult found = searchCover(part, search);
        if (found.stopped) stopped_ = true;
        if (found.complete) record.size = static_cast<int64_t>(found.tickets.size());
        searches_.push_back(record);
        return found.complete ? found.tickets : std::vector<uint64_t>{};
    }

    void report() const {
        if (settings_.onProgress) settings_.onProgress(bestWhole_, elapsed());
    }

    const CoverModel& model_;
    const SplitSettings& settings_;
    const Clock::time_point start_;
    std::map<std::pair<int, int>, Entry> entries_;  // by (elements, drawn)
    std::vector<PartSearch> searches_;
    uint64_t searchesRun_ = 0;
    int64_t bestWhole_ = 0;
    bool stopped_ = false;
};

}  // namespace

bool canSplit(const CoverModel& model) {
    return model.storedTargets.empty() && model.fixedTickets.empty() && 2 * model.hits <= model.targetSize + 1;
}

SplitCovering searchSplitCovering(const CoverModel& model, const SplitSettings& settings) {
    return SplitPlanner(model, settings).plan(nullptr);
}

SplitCovering splitCoveringOf(const CoverModel& model, int partSize, int firstDrawn, const SplitSettings& settings) {
    const Split split{partSize, firstDrawn};
    return SplitPlanner(model, settings).plan(&split);
}

}  // namespace quillstep::cover

#pragma once
// Simulated annealing at a fixed number of tickets on the count of uncovered targets. A move
// trades one element of one ticket for another, mostly so that a random uncovered target becomes
// covered: of the trades by which a ticket sharing t - 1 elements with it takes one more of them,
// the best of a sample (by a weighted count: targets aimed at often weigh more) is made; a move
// that uncovers more than it covers is taken with probability exp(-delta / temperature).
//
// The temperature follows one of two schedules. A cycle: it falls geometrically and is raised
// again at the cycle's end, its range following the sizes of the uphill moves measured on the
// problem itself. Or an acceptance rate: rounds of a fixed number of moves in which the share of
// uphill moves taken should fall from a first to a last rate; the temperature falls a little
// whenever an uphill move is taken more often than that and rises when less often. The second
// suits cheap moves (one random trade each, few targets per trade), where millions of moves are
// made.

#include <cstdint>
#include <vector>

#include "wheels/cover/cover_state.h"
#include "base/worker_threads.h"

namespace quillstep::cover {

// The temperature's range: a cycle starts where an uphill move of the mean size is taken once in
// `hotOdds` times and ends where it is taken once in `coldOdds`; its length in moves is
// `cycleFactor` times tickets × k × (n - k) (one trade of every element of every ticket for every
// element outside it), at least `fewestCycleMoves`.
struct AnnealingSettings {
    double hotOdds = 20.0;
    double coldOdds = 1e6;
    double cycleFactor = 1.0;
    int64_t fewestCycleMoves = 20000;
    int biasedInTen = 9;  // moves of ten aimed at a random uncovered target
    // Of the trades that cover the target aimed at, the best of a random sample is made: trades
    // are counted (CoverState::lastLookups) until the next would pass this many counts looked up
    // (at least four trades, at most all of them); where m > t (the trades' counts cheaper, see
    // CoverState) the second budget.
    int64_t lookupsPerMove = 800;
    int64_t lookupsPerMoveDrawnAboveHits = 3000;
    // Each target aimed at gains weight (CoverState::raiseWeight), and of the trades sampled the
    // one best by the weighted count is made: targets that stay uncovered are covered first and
    // uncovered last. The move is still taken or refused by its plain change of the count.
    bool weighted = true;
    // Trades weighed per move at least (1: a single random trade, the cheapest move).
    size_t fewestTrades = 4;
    // The acceptance schedule in place of the cycle, when roundMoves > 0.
    int64_t roundMoves = 0;
    double firstAcceptance = 0.05;
    double lastAcceptance = 0.0005;
};

// The settings for cheap moves: one random trade towards a random uncovered target, the
// temperature following the acceptance rate.
AnnealingSettings singleTradeSettings();

// The settings a model is searched with: single trades where t = m (a trade changes the cover of
// C(k - 1, t - 1) targets only: 20 at 4 if 4, so millions of moves a minute), sampled trades
// where m > t (there a single random trade ends larger: 19 at 4 if 7 on 19 elements against 18).
AnnealingSettings annealingFor(const CoverModel& model);

class CoverAnnealing {
public:
    CoverAnnealing(CoverState& state, Random& random, const AnnealingSettings& settings = {});

    // Up to `moves` moves; ends early when every target is covered or `stop` is raised (read
    // before every move: a move on a large wheel may look up hundreds of thousands of counts).
    void run(int64_t moves, const StopFlag& stop);
    int64_t movesMade() const { return moves_; }

    // A new start of the temperature cycle (after the number of tickets changed).
    void restartCycle();

private:
    struct Trade {
        size_t index;
        int out, in;
    };
    // A move and its change of the uncovered count, counted by moveDelta last.
    bool chooseMove(size_t& index, int& out, int& in, int64_t& delta);
    bool bestTradeTowards(uint64_t target, size_t& index, int& out, int& in, int64_t& delta);
    // One trade towards the target at random: a ticket sharing t - 1 elements with it, one of
    // its other elements for one of the target's it lacks (every such trade equally likely).
    bool randomTradeTowards(uint64_t target, size_t& index, int& out, int& in, int64_t& delta);
    void measureUphill();
    // Whether an uphill move of `delta` is taken; on the acceptance schedule the temperature
    // follows the answer.
    bool takesUphill(int64_t delta);

    CoverState& state_;
    Random& random_;
    AnnealingSettings settings_;
    double hot_ = 1.0, cold_ = 0.1, temperature_ = 1.0, cooling_ = 0.999;
    int64_t cycleMoves_ = 10000;
    int64_t moves_ = 0;
    int64_t lookupsPerMove_ = 800;
    std::vector<Trade> trades_;
};

}  // namespace quillstep::cover

#pragma once
// Simulated annealing at a fixed number of tickets on the count of uncovered targets. A move
// trades one element of one ticket for another, mostly so that a random uncovered target becomes
// covered (a ticket sharing t - 1 elements with it takes one more of them); a move that uncovers
// more than it covers is taken with probability exp(-delta / temperature). The temperature falls
// geometrically through a cycle and is raised again at the cycle's end; its range follows the
// sizes of the uphill moves measured on the problem itself.

#include <cstdint>

#include "wheels/cover/cover_state.h"

namespace quillstep::cover {

class CoverAnnealing {
public:
    CoverAnnealing(CoverState& state, Random& random);

    // Up to `moves` moves; ends early when every target is covered.
    void run(int64_t moves);
    int64_t movesMade() const { return moves_; }

    // A new start of the temperature cycle (after the number of tickets changed).
    void restartCycle();

private:
    bool chooseMove(size_t& index, int& out, int& in);
    void measureUphill();

    CoverState& state_;
    Random& random_;
    double hot_ = 1.0, cold_ = 0.1, temperature_ = 1.0, cooling_ = 0.999;
    int64_t cycleMoves_ = 10000;
    int64_t moves_ = 0;
};

}  // namespace quillstep::cover

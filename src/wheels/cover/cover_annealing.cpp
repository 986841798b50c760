#include "wheels/cover/cover_annealing.h"

#include <algorithm>
#include <cmath>

namespace quillstep::cover {
namespace {

// A cycle starts where an uphill move of the mean size is taken once in a thousand times and ends
// where it is taken once in ten million: the moves that matter are the small uphill ones.
constexpr double HOT_ODDS = 1e3;
constexpr double COLD_ODDS = 1e7;

}  // namespace

CoverAnnealing::CoverAnnealing(CoverState& state, Random& random) : state_(state), random_(random) { restartCycle(); }

void CoverAnnealing::measureUphill() {
    // The mean size of the uphill moves among the moves the search makes.
    double sum = 0.0;
    int uphill = 0;
    for (int trial = 0; trial < 64 && state_.size() > 0; ++trial) {
        size_t index;
        int out, in;
        if (!chooseMove(index, out, in)) break;
        const int64_t delta = state_.moveDelta(index, out, in);
        if (delta > 0) {
            sum += static_cast<double>(delta);
            ++uphill;
        }
    }
    const double mean = uphill > 0 ? sum / uphill : 1.0;
    hot_ = mean / std::log(HOT_ODDS);
    cold_ = mean / std::log(COLD_ODDS);
}

void CoverAnnealing::restartCycle() {
    measureUphill();
    const CoverModel& model = state_.model();
    cycleMoves_ = std::max<int64_t>(20000, static_cast<int64_t>(state_.size()) * model.ticketSize *
                                               (model.elements - model.ticketSize));
    cooling_ = std::pow(cold_ / hot_, 1.0 / static_cast<double>(cycleMoves_));
    temperature_ = hot_;
}

bool CoverAnnealing::chooseMove(size_t& index, int& out, int& in) {
    const size_t size = state_.size();
    if (size == 0) return false;
    if (state_.uncovered() > 0 && random_.below(10) != 0) {
        // Towards a random uncovered target: a ticket sharing t - 1 of its elements (drawn among
        // all such) trades one of its other elements for one more of the target's.
        const uint64_t target = state_.targets().setOf(state_.randomUncovered(random_));
        const int wanted = state_.model().hits - 1;
        int64_t seen = 0;
        size_t chosen = size;
        for (size_t i = 0; i < size; ++i)
            if (std::popcount(state_.tickets()[i] & target) == wanted && random_.below(static_cast<uint64_t>(++seen)) == 0)
                chosen = i;
        if (chosen == size) chosen = random_.below(size);
        const uint64_t ticket = state_.tickets()[chosen];
        const uint64_t outside = ticket & ~target;
        index = chosen;
        out = random_.numberOf(outside != 0 ? outside : ticket);
        in = random_.numberOf(target & ~ticket);
        return true;
    }
    index = random_.below(size);
    const uint64_t ticket = state_.tickets()[index];
    out = random_.numberOf(ticket);
    in = random_.numberOf(state_.elements() & ~ticket);
    return true;
}

void CoverAnnealing::run(int64_t moves) {
    for (int64_t done = 0; done < moves && state_.uncovered() > 0; ++done) {
        size_t index;
        int out, in;
        if (!chooseMove(index, out, in)) return;
        ++moves_;
        const int64_t delta = state_.moveDelta(index, out, in);
        if (delta <= 0 || random_.unit() < std::exp(-static_cast<double>(delta) / temperature_)) state_.applyMove();
        temperature_ *= cooling_;
        if (temperature_ < cold_) temperature_ = hot_;
    }
}

}  // namespace quillstep::cover

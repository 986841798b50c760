#include "wheels/cover/cover_annealing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "wheels/subsets.h"

namespace quillstep::cover {
namespace {

constexpr size_t MIN_TRADES = 4;

}  // namespace

CoverAnnealing::CoverAnnealing(CoverState& state, Random& random, const AnnealingSettings& settings)
    : state_(state), random_(random), settings_(settings),
      lookupsPerMove_(state.model().targetSize > state.model().hits ? settings.lookupsPerMoveDrawnAboveHits
                                                                    : settings.lookupsPerMove) {
    restartCycle();
}

void CoverAnnealing::measureUphill() {
    // The mean size of the uphill moves among the moves the search makes.
    double sum = 0.0;
    int uphill = 0;
    for (int trial = 0; trial < 64 && state_.size() > 0; ++trial) {
        size_t index;
        int out, in;
        int64_t delta;
        if (!chooseMove(index, out, in, delta)) break;
        if (delta > 0) {
            sum += static_cast<double>(delta);
            ++uphill;
        }
    }
    const double mean = uphill > 0 ? sum / uphill : 1.0;
    hot_ = mean / std::log(settings_.hotOdds);
    cold_ = mean / std::log(settings_.coldOdds);
}

void CoverAnnealing::restartCycle() {
    const CoverModel& model = state_.model();
    measureUphill();
    cycleMoves_ = std::max<int64_t>(
        settings_.fewestCycleMoves,
        static_cast<int64_t>(settings_.cycleFactor * static_cast<double>(state_.size()) * model.ticketSize *
                             (model.elements - model.ticketSize)));
    cooling_ = std::pow(cold_ / hot_, 1.0 / static_cast<double>(cycleMoves_));
    temperature_ = hot_;
}

bool CoverAnnealing::bestTradeTowards(uint64_t target, size_t& index, int& out, int& in, int64_t& delta) {
    // Every trade that makes a ticket sharing t - 1 elements with the target cover it: one of the
    // ticket's other elements for one of the target's it lacks.
    trades_.clear();
    const int wanted = state_.model().hits - 1;
    const std::vector<uint64_t>& tickets = state_.tickets();
    for (size_t i = 0; i < tickets.size(); ++i) {
        if (std::popcount(tickets[i] & target) != wanted) continue;
        for (uint64_t outs = tickets[i] & ~target; outs != 0; outs &= outs - 1)
            for (uint64_t ins = target & ~tickets[i]; ins != 0; ins &= ins - 1)
                trades_.push_back({i, std::countr_zero(outs), std::countr_zero(ins)});
    }
    if (trades_.empty()) return false;
    // Trades drawn at random until the next would pass the look-ups of a move (as many as the
    // trades so far took on average), at least four.
    int64_t best = std::numeric_limits<int64_t>::max(), bestDelta = 0;
    int64_t ties = 0, lookups = 0;
    size_t chosen = 0, tried = 0;
    for (size_t i = 0; i < trades_.size(); ++i) {
        if (i >= MIN_TRADES && lookups + lookups / static_cast<int64_t>(i) > lookupsPerMove_) break;
        std::swap(trades_[i], trades_[i + random_.below(trades_.size() - i)]);
        tried = i + 1;
        const int64_t plain = state_.moveDelta(trades_[i].index, trades_[i].out, trades_[i].in);
        lookups += state_.lastLookups();
        const int64_t d = settings_.weighted ? state_.lastWeightedDelta() : plain;
        if (d < best) {
            best = d;
            bestDelta = plain;
            chosen = i;
            ties = 1;
        } else if (d == best && random_.below(static_cast<uint64_t>(++ties)) == 0) {
            bestDelta = plain;
            chosen = i;
        }
    }
    index = trades_[chosen].index;
    out = trades_[chosen].out;
    in = trades_[chosen].in;
    // The state keeps the targets of the trade counted last for applyMove.
    delta = chosen == tried - 1 ? bestDelta : state_.moveDelta(index, out, in);
    return true;
}

bool CoverAnnealing::chooseMove(size_t& index, int& out, int& in, int64_t& delta) {
    const size_t size = state_.size();
    if (size == 0) return false;
    if (state_.uncovered() > 0 && static_cast<int>(random_.below(10)) < settings_.biasedInTen) {
        const int64_t id = state_.randomUncovered(random_);
        if (settings_.weighted) state_.raiseWeight(id);
        const uint64_t target = state_.targets().setOf(id);
        if (bestTradeTowards(target, index, out, in, delta)) return true;
        // No ticket shares t - 1 of its elements: a random ticket takes one of them.
        index = random_.below(size);
        const uint64_t ticket = state_.tickets()[index];
        out = random_.numberOf(ticket & ~target);
        in = random_.numberOf(target & ~ticket);
        delta = state_.moveDelta(index, out, in);
        return true;
    }
    index = random_.below(size);
    const uint64_t ticket = state_.tickets()[index];
    out = random_.numberOf(ticket);
    in = random_.numberOf(state_.elements() & ~ticket);
    delta = state_.moveDelta(index, out, in);
    return true;
}

void CoverAnnealing::run(int64_t moves, const StopFlag& stop) {
    for (int64_t done = 0; done < moves && state_.uncovered() > 0 && !stop.load(std::memory_order_relaxed); ++done) {
        size_t index;
        int out, in;
        int64_t delta;
        if (!chooseMove(index, out, in, delta)) return;
        ++moves_;
        if (delta <= 0 || random_.unit() < std::exp(-static_cast<double>(delta) / temperature_)) state_.applyMove();
        temperature_ *= cooling_;
        if (temperature_ < cold_) temperature_ = hot_;
    }
}

}  // namespace quillstep::cover

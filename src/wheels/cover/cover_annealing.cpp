#include "wheels/cover/cover_annealing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "wheels/subsets.h"

namespace quillstep::cover {
namespace {

// How fast the temperature follows the wanted acceptance rate.
constexpr double ACCEPTANCE_STEP = 0.05;
constexpr double COLDEST = 1e-3;

}  // namespace

AnnealingSettings singleTradeSettings() {
    AnnealingSettings settings;
    settings.biasedInTen = 10;
    settings.weighted = false;
    settings.fewestTrades = 1;
    settings.lookupsPerMove = 0;
    settings.lookupsPerMoveDrawnAboveHits = 0;
    settings.roundMoves = 2'000'000;
    return settings;
}

AnnealingSettings annealingFor(const CoverModel& model) {
    return model.targetSize == model.hits ? singleTradeSettings() : AnnealingSettings{};
}

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
    // The acceptance schedule carries on through a change of size.
    if (settings_.roundMoves > 0) return;
    const CoverModel& model = state_.model();
    measureUphill();
    cycleMoves_ = std::max<int64_t>(
        settings_.fewestCycleMoves,
        static_cast<int64_t>(settings_.cycleFactor * static_cast<double>(state_.size()) * model.ticketSize *
                             (model.elements - model.ticketSize)));
    cooling_ = std::pow(cold_ / hot_, 1.0 / static_cast<double>(cycleMoves_));
    temperature_ = hot_;
}

bool CoverAnnealing::randomTradeTowards(uint64_t target, size_t& index, int& out, int& in, int64_t& delta) {
    // Every ticket sharing t - 1 elements has the same number of trades towards the target: a
    // ticket drawn evenly among them, then its trade, draws every trade evenly.
    const int wanted = state_.model().hits - 1;
    const std::vector<uint64_t>& tickets = state_.tickets();
    uint64_t seen = 0;
    for (size_t i = 0; i < tickets.size(); ++i)
        if (bitCount(tickets[i] & target) == wanted && random_.below(++seen) == 0) index = i;
    if (seen == 0) return false;
    const uint64_t ticket = tickets[index];
    out = random_.numberOf(ticket & ~target);
    in = random_.numberOf(target & ~ticket);
    delta = state_.moveDelta(index, out, in);
    return true;
}

bool CoverAnnealing::bestTradeTowards(uint64_t target, size_t& index, int& out, int& in, int64_t& delta) {
    if (settings_.fewestTrades <= 1 && lookupsPerMove_ == 0) return randomTradeTowards(target, index, out, in, delta);
    // Every trade that makes a ticket sharing t - 1 elements with the target cover it: one of the
    // ticket's other elements for one of the target's it lacks.
    trades_.clear();
    const int wanted = state_.model().hits - 1;
    const std::vector<uint64_t>& tickets = state_.tickets();
    for (size_t i = 0; i < tickets.size(); ++i) {
        if (bitCount(tickets[i] & target) != wanted) continue;
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
        if (i >= settings_.fewestTrades && lookups + lookups / static_cast<int64_t>(i) > lookupsPerMove_) break;
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
        if (delta <= 0 || takesUphill(delta)) state_.applyMove();
        if (settings_.roundMoves > 0) continue;
        temperature_ *= cooling_;
        if (temperature_ < cold_) temperature_ = hot_;
    }
}

bool CoverAnnealing::takesUphill(int64_t delta) {
    const bool taken = random_.unit() < std::exp(-static_cast<double>(delta) / temperature_);
    if (settings_.roundMoves > 0) {
        const double share = static_cast<double>(moves_ % settings_.roundMoves) / static_cast<double>(settings_.roundMoves);
        const double wanted = settings_.firstAcceptance * std::pow(settings_.lastAcceptance / settings_.firstAcceptance, share);
        temperature_ = std::max(COLDEST, temperature_ * std::exp(ACCEPTANCE_STEP * (wanted - (taken ? 1.0 : 0.0))));
    }
    return taken;
}

}  // namespace quillstep::cover

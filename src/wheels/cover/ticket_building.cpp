#include "wheels/cover/ticket_building.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "wheels/subsets.h"

namespace quillstep::cover {
namespace {

// How many element trades a new ticket tries: enough to settle it on small problems, bounded by
// the work of one trade on large ones.
int automaticTradesPerTicket(const CoverState& state) {
    const CoverModel& model = state.model();
    const int64_t pairs = binomial(model.ticketSize - 1, model.hits - 1) *
                          binomial(model.elements - model.ticketSize - 1, model.targetSize - model.hits);
    // About 400,000 cover counts looked up per ticket (a trade looks up two per pair), at least one
    // trade: on 39 numbers at 4 if 7 (90,000 pairs a trade) the start must come within a minute.
    const int64_t budget = 400000 / std::max<int64_t>(1, 2 * pairs);
    return static_cast<int>(std::clamp<int64_t>(budget, 1, 4 * model.ticketSize * (model.elements - model.ticketSize)));
}

}  // namespace

bool addGreedyTickets(CoverState& state, Random& random, const StopFlag& stop, int tradesPerTicket) {
    const CoverModel& model = state.model();
    const int trades = tradesPerTicket > 0 ? tradesPerTicket : automaticTradesPerTicket(state);
    while (state.uncovered() > 0) {
        if (stop.load(std::memory_order_relaxed)) return false;
        // Begin with t elements of an uncovered target, fill up at random.
        const uint64_t target = state.targets().setOf(state.randomUncovered(random));
        uint64_t ticket = 0;
        for (int i = 0; i < model.hits; ++i) ticket |= uint64_t{1} << random.numberOf(target & ~ticket);
        while (std::popcount(ticket) < model.ticketSize)
            ticket |= uint64_t{1} << random.numberOf(state.elements() & ~ticket);
        for (int trial = 0; trial < trades; ++trial) {
            const int out = random.numberOf(ticket);
            const int in = random.numberOf(state.elements() & ~ticket);
            if (state.candidateSwapGain(ticket, out, in) > 0) ticket = (ticket & ~(uint64_t{1} << out)) | uint64_t{1} << in;
        }
        state.addTicket(ticket);
    }
    return true;
}

void removeRedundantTickets(CoverState& state, Random& random, const StopFlag& stop) {
    std::vector<uint64_t> order = state.tickets();
    for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random.below(i)]);
    state.replaceTickets(order);
    for (size_t i = state.size(); i-- > 0 && !stop.load(std::memory_order_relaxed);)
        if (state.soleCovers(i) == 0) state.removeTicket(i);
}

size_t leastNeededTicket(const CoverState& state, Random& random, const StopFlag& stop) {
    size_t best = 0;
    int64_t fewest = std::numeric_limits<int64_t>::max();
    int64_t ties = 0;
    for (size_t i = 0; i < state.size(); ++i) {
        if (i > 0 && stop.load(std::memory_order_relaxed)) break;
        const int64_t sole = state.soleCovers(i);
        if (sole < fewest) {
            fewest = sole;
            best = i;
            ties = 1;
        } else if (sole == fewest && random.below(static_cast<uint64_t>(++ties)) == 0) {
            best = i;
        }
    }
    return best;
}

}  // namespace quillstep::cover

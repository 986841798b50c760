#pragma once
// The one table of how work ends: every reason's kind and its words, as the command line prints
// them after "not written: " and the windows put them into their sentences. The words may name the
// fault's count ({count}), its bound ({bound}), its detail ({detail}) and, for a system that
// failed its check, whose system it is ({subject}: "the system found", "the optimiser's system").

#include <string>
#include <string_view>
#include <vector>

#include "base/fault.h"

namespace quillstep {

struct FaultRow {
    FaultReason reason;
    FaultKind kind;
    std::string words;  // with the placeholders above
};

// Every reason but None, once each.
const std::vector<FaultRow>& faultTable();

FaultKind faultKindOf(FaultReason reason);
inline FaultKind faultKindOf(const Fault& fault) { return faultKindOf(fault.reason); }

// The reason's words with the fault's facts put in; "" for none.
std::string faultText(const Fault& fault, std::string_view subject = "the system");

}  // namespace quillstep

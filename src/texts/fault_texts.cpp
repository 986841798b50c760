#include "texts/fault_texts.h"

#include <algorithm>

#include "engine/shared_state.h"
#include "files/wheel_file_writer.h"
#include "texts/search_texts.h"
#include "wheels/cover/cover_model.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {
namespace {

std::string number(int64_t n) { return std::to_string(n); }

std::vector<FaultRow> makeFaultTable() {
    using R = FaultReason;
    using K = FaultKind;
    const std::string mostInFile = number(ABBREVIATED_SYSTEM_CAPACITY - 1);
    const std::string nothingStored = "nothing is stored: the last storing run accepted no combination";
    const std::string tooLarge = "a system of {count} combinations is not written: files hold at most " + mostInFile;
    const std::string belowCapacity = "no system of fewer than " + number(ABBREVIATED_SYSTEM_CAPACITY) +
                                      " combinations can cover the {count} stored combinations (proven before any search)";
    return {
        {R::NothingToSearch, K::Answer, NOTHING_TO_SEARCH_MESSAGE},
        {R::NothingStored, K::Answer, nothingStored},
        {R::NothingStoredToComplete, K::Refused, nothingStored},
        {R::GuaranteeOutOfRange, K::Refused, "guaranteed hits must be 4 or 5"},
        {R::TimeLimitOutOfRange, K::Refused,
         "the time limit must be " + number(SHORTEST_TIME_LIMIT_SECONDS) + " to " + number(LONGEST_TIME_LIMIT_SECONDS) +
             " seconds"},
        {R::NegativeStepBudget, K::Refused, "the step budget must not be negative"},
        {R::TooManyLinesToComplete, K::Refused, "the system has {count} lines already: files hold at most " + mostInFile},
        {R::NumberAboveTotal, K::Refused,
         "combination {count} of the system holds a number above {bound}, the total numbers in system"},
        {R::SystemNotUseful, K::Answer, NOT_USEFUL_MESSAGE},
        {R::SystemTooLargeForFile, K::Answer, tooLarge},
        {R::CompletionTooLargeForFile, K::Refused, tooLarge},
        {R::NoSystemBelowCapacity, K::Answer, belowCapacity},
        {R::NoCompletionBelowCapacity, K::Refused, belowCapacity},
        {R::StoppedBeforeAnySystem, K::NoSystemInTime, "stopped before any system covered every stored combination"},
        {R::NoSystemInTime, K::NoSystemInTime, "the optimiser found no system in the time given"},
        {R::OptimiserRefused, K::Fault, "{detail}"},  // a fault in its tables, not in the request
        {R::CompletionSearchFailed, K::Refused, "{detail}"},
        {R::SystemFileUnreadable, K::Refused, "{detail}"},
        {R::SearchOutOfMemory, K::Fault, "not enough memory for the search among {count} stored combinations"},
        {R::OptimiserOutOfMemory, K::Fault, "not enough memory for the optimiser on {count} stored combinations"},
        {R::CompletionOutOfMemory, K::Fault, "not enough memory to complete the system on {count} stored combinations"},
        {R::MembersMalformed, K::Fault, "{subject} holds {count} members that are not seven numbers of 1 to the total"},
        {R::MembersUncovering, K::Fault, "{subject} leaves {count} stored combinations uncovered"},
        {R::MembersNotStored, K::Fault, "{subject} holds {count} combinations that are not stored"},
        {R::WriteFailed, K::Fault, "{detail}"},
        {R::ReadBackDiffers, K::Fault, "{detail} does not read back as the system that was written"},
        {R::WheelRefused, K::Refused, "the wheel was refused"},
        {R::WheelBeyondSearch, K::NoSystemInTime,
         "the wheel needs more than " + number(cover::MOST_TICKETS) + " tickets, more than the search keeps"},
        {R::WheelStoppedBeforeAny, K::NoSystemInTime, "stopped before any wheel covered every set of drawn numbers"},
        {R::NoWheelInTime, K::NoSystemInTime, "no wheel covered every set of drawn numbers in the time given"},
        {R::WheelTooLargeForFile, K::Answer,
         "the wheel has {count} tickets, more than the " + number(WHEEL_FILE_ROW_LIMIT) + " a wheel file holds"},
        {R::WheelUncovering, K::Fault, "the check found {count} sets of drawn numbers the wheel does not cover"},
        {R::WheelOutOfMemory, K::Fault, "not enough memory for the wheel"},
    };
}

const FaultRow* rowOf(FaultReason reason) {
    const std::vector<FaultRow>& table = faultTable();
    const auto row = std::find_if(table.begin(), table.end(), [reason](const FaultRow& r) { return r.reason == reason; });
    return row == table.end() ? nullptr : &*row;
}

void put(std::string& text, std::string_view placeholder, std::string_view value) {
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}

}  // namespace

const std::vector<FaultRow>& faultTable() {
    static const std::vector<FaultRow> table = makeFaultTable();
    return table;
}

FaultKind faultKindOf(FaultReason reason) {
    if (reason == FaultReason::None) return FaultKind::None;
    const FaultRow* row = rowOf(reason);
    return row ? row->kind : FaultKind::Fault;
}

std::string faultText(const Fault& fault, std::string_view subject) {
    const FaultRow* row = rowOf(fault.reason);
    if (!row) return "";
    std::string text = row->words;
    // The detail last: it is not this program's text and may hold a brace of its own.
    put(text, "{subject}", subject);
    put(text, "{count}", number(fault.count));
    put(text, "{bound}", number(fault.bound));
    put(text, "{detail}", fault.detail);
    return text;
}

}  // namespace quillstep

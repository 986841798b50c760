#include "files/wheel_file_writer.h"

#include <bit>

#include "files/system_read_back.h"

namespace quillstep {

std::vector<std::string> wheelFileHeader(const WheelRequest& request) {
    return {PROGRAM_HEADER_LINE,
            "wheel of " + std::to_string(std::popcount(request.pool)) + " numbers",
            "pool: " + numberListText(request.pool),
            "keys: " + (request.keys == 0 ? std::string("none") : numberListText(request.keys)),
            "guarantee: " + std::to_string(request.hits) + " if " + std::to_string(request.drawn)};
}

WheelFileOutcome writeCheckedWheelFile(const WheelToWrite& wheel, const WheelCheckSettings& checkSettings,
                                       const WriteObserver& observer) {
    WheelFileOutcome outcome;
    outcome.file.fileName = wheel.shownName;
    if (static_cast<int64_t>(wheel.tickets.size()) > WHEEL_FILE_ROW_LIMIT) {
        outcome.fault = {FaultReason::WheelTooLargeForFile, static_cast<int64_t>(wheel.tickets.size())};
        return outcome;
    }
    outcome.check = checkWheel(wheel.request, wheel.tickets, checkSettings);
    if (!outcome.check.covered()) {
        outcome.fault = {FaultReason::WheelUncovering, outcome.check.uncovered};
        return outcome;
    }
    std::vector<int32_t> numbers;
    numbers.reserve(wheel.tickets.size() * NUMBERS_PER_COMBINATION);
    for (uint64_t ticket : wheel.tickets)
        for (; ticket != 0; ticket &= ticket - 1) numbers.push_back(std::countr_zero(ticket));
    const auto readsBack = [&wheel](ReplacementFile& written) { return readsBackAsSystem(written, wheel.tickets); };
    outcome.file = writeNumberRows(wheel.target, wheel.shownName, wheelFileHeader(wheelOf(wheel.request)), numbers.data(),
                                   static_cast<int32_t>(wheel.tickets.size()), observer, readsBack);
    outcome.fault = writtenFileFault(outcome.file);
    return outcome;
}

}  // namespace quillstep

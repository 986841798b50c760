#include "usecases/wheel_making.h"

namespace quillstep {

Fault WheelMade::fault() const {
    if (search.requestFault.refused()) return {FaultReason::WheelRefused};
    if (search.found()) return file.fault;
    if (search.tooManyTickets) return {FaultReason::WheelBeyondSearch};
    return {search.stopped ? FaultReason::WheelStoppedBeforeAny : FaultReason::NoWheelInTime};
}

WheelMade makeWheel(const WheelMaking& making, const WriteObserver& observer) {
    WheelMade made;
    made.search = searchWheel(making.request);
    if (!made.search.found()) return made;
    WheelCheckSettings check;
    check.stopRequested = nullptr;  // a found wheel is always checked whole before it is written
    made.file = writeCheckedWheelFile({making.request, made.search.tickets, making.target, making.shownName}, check,
                                      observer);
    return made;
}

}  // namespace quillstep

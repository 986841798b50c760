#pragma once
// What a timed run asks of whoever starts it: the main window greyed out around the run, the
// process at high priority around the kernel, and the time of day. The platform provides it.

namespace quillstep {

class RunHost {
public:
    virtual ~RunHost() = default;

    virtual void enableMainWindow(bool enabled) = 0;

    // Process priority: high around an enumeration, normal otherwise.
    virtual void setHighPriority(bool high) = 0;

    // Local time of day in seconds, millisecond resolution.
    virtual double timeOfDaySeconds() = 0;
};

}  // namespace quillstep

// The console's control events on Windows, through SetConsoleCtrlHandler. The system calls the
// handler on a thread of its own; it records the event as the signal it stands for (Ctrl+C as
// SIGINT, Ctrl+Break, the closing of the console and the end of the session as SIGTERM), asks
// the writer to give up and returns TRUE, so that the program is not ended at once: the writer
// removes its temporary file and the command loop reports and ends the program, as on Linux.
// After a close, log-off or shut-down event the system ends the process as soon as the handler
// returns, so the handler waits there until the write has given up.

#if defined(_WIN32)

#include <windows.h>

#include <atomic>
#include <csignal>

#include "cli/interrupts.h"
#include "platform/win32/owned_handle.h"

namespace quillstep {
namespace {

// How long a close event waits for the write to give up; the system allows about five seconds.
constexpr DWORD CLOSE_WAIT_MILLISECONDS = 4000;

std::atomic<int> arrivedSignal{0};
std::atomic<bool> stopRequested{false};
// Set when the write's interrupts are taken down. Made with the first write and kept until the
// program ends (the handler's thread may wait on it whenever the write's handler is set).
OwnedKernelHandle writeEnded;

bool endsTheSession(DWORD event) {
    return event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
}

BOOL WINAPI onWriteEvent(DWORD event) {
    arrivedSignal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    requestWriteCancel();
    if (endsTheSession(event) && writeEnded) WaitForSingleObject(writeEnded.get(), CLOSE_WAIT_MILLISECONDS);
    return TRUE;
}

// Only Ctrl+C stops a search; the other events end the program as SIGTERM does on Linux.
BOOL WINAPI onStopEvent(DWORD event) {
    if (event != CTRL_C_EVENT) return FALSE;
    stopRequested = true;
    return TRUE;
}

}  // namespace

WriteInterrupts::WriteInterrupts() {
    arrivedSignal = 0;
    clearWriteCancel();
    if (!writeEnded) writeEnded.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (writeEnded) ResetEvent(writeEnded.get());
    SetConsoleCtrlHandler(onWriteEvent, TRUE);
}

WriteInterrupts::~WriteInterrupts() {
    SetConsoleCtrlHandler(onWriteEvent, FALSE);
    clearWriteCancel();
    if (writeEnded) SetEvent(writeEnded.get());
}

int WriteInterrupts::signal() const { return arrivedSignal; }

StopOnInterrupt::StopOnInterrupt() {
    stopRequested = false;
    SetConsoleCtrlHandler(onStopEvent, TRUE);
}

StopOnInterrupt::~StopOnInterrupt() { SetConsoleCtrlHandler(onStopEvent, FALSE); }

bool StopOnInterrupt::requested() { return stopRequested.load(); }

}  // namespace quillstep

#endif

#pragma once
// What the portable core needs of the system. One implementation drives real Win32 windows,
// the headless one (tests/platform/headless) records every request for the tests.

#include <filesystem>
#include <string>

#include "engine/run_host.h"
#include "platform/window.h"

namespace quillstep {

// enableMainWindow, setHighPriority and timeOfDaySeconds come from RunHost (engine/run_host.h).
class Platform : public RunHost {
public:
    virtual ~Platform() = default;

    // The main window, while it is open (see WindowTemplate::isMainWindow).
    virtual void setControlText(int controlId, const std::string& text) = 0;
    virtual void enableControl(int controlId, bool enabled) = 0;

    // The innermost open window other than the main one, for the handler of that window while it
    // is open (a control it does not have is left alone).
    virtual void setWindowControlText(int controlId, const std::string& text) = 0;
    virtual void enableWindowControl(int controlId, bool enabled) = 0;
    virtual void checkWindowControl(int controlId, bool checked) = 0;  // the mark of a check box
    // The text of a control of that window as it stands (what the user typed into an edit field).
    virtual std::string windowControlText(int controlId) = 0;

    // Builds the window from its template, shows it modally and returns once it has closed.
    virtual void runModalWindow(const WindowTemplate& window, const WindowHandler& handler) = 0;

    // A message box: caption "Notify this", OK only, no icon, no owner, task-modal.
    virtual void showMessage(const std::string& text) = 0;

    // The system's own dialog for choosing a file to open, titled `title`, over the innermost
    // open window: the chosen file's full path, or an empty path when the user cancelled.
    virtual std::filesystem::path chooseFileToOpen(const std::string& title) = 0;

    // The system's own dialog for choosing the name of a file to save, titled `title`, over the
    // innermost open window, starting with `suggestedName`: the chosen full path, or an empty path
    // when the user cancelled. The dialog asks before a name that exists is chosen; the file
    // itself is written by the caller.
    virtual std::filesystem::path chooseFileToSave(const std::string& title, const std::string& suggestedName) = 0;

    // Starts the command line in the working directory and waits for the process to end.
    // False when it could not be started.
    virtual bool startProcessAndWait(const std::string& commandLine) = 0;

    // Opens the file with the system's default program for text files, waiting for it where the
    // system hands back a process. False when nothing could be opened.
    virtual bool openWithDefaultProgramAndWait(const std::string& fileName) = 0;

    // Called now and then by long operations on the user-interface thread: keeps the windows
    // painted, throws away clicks and keys, and tells whether the user asked to stop
    // (Escape in the window, Ctrl+C on the command line).
    virtual bool pollStopRequest() = 0;
};

}  // namespace quillstep

#pragma once
// A platform without a display: it keeps the control texts and enabled states of the main window
// and of the last other window opened, and records every other request, so that tests and the
// command line can read them back.

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/local_clock.h"
#include "platform/platform.h"

namespace quillstep {

class HeadlessPlatform : public Platform {
public:
    // Control state of the main window (filled from its template when it is run modally, and by
    // every setControlText / enableControl call).
    std::map<int, std::string> controlTexts;
    std::map<int, bool> controlEnabled;
    bool mainWindowEnabled = true;

    // Control state of the last window other than the main one: filled from its template when it
    // opens, changed by the window-control calls, kept after it has closed.
    std::map<int, std::string> windowControlTexts;
    std::map<int, bool> windowControlEnabled;
    std::map<int, bool> windowControlChecked;
    std::vector<std::pair<int, std::string>> windowTextHistory;

    // Everything asked, in order; with keepHistory false only the latest entry of each record.
    bool keepHistory = true;
    std::vector<std::pair<int, std::string>> textHistory;
    std::vector<bool> mainWindowEnableHistory;
    std::vector<bool> priorityHistory;  // true: high
    std::vector<std::string> messages;
    std::vector<std::string> startedCommandLines;
    std::vector<std::string> openedFiles;
    std::vector<WindowTemplate> shownWindows;

    // Behaviour that tests and the command line choose.
    std::function<double()> clock;                // default: the real local time of day
    bool processesStart = false;                  // what startProcessAndWait answers
    bool defaultProgramOpens = false;             // what openWithDefaultProgramAndWait answers
    std::function<bool()> stopRequest;            // default: never
    std::function<void(const std::string&)> onMessage;
    // Clicks given to a modal window (other than the main one) before it closes by itself.
    std::vector<int> clicksForNextWindow;
    // Text typed into edit fields of the next modal window (other than the main one), in order,
    // once it has been created and before its clicks: each replaces the field's text and is
    // reported to the handler as a command of the field, as a change of an edit field is.
    std::vector<std::pair<int, std::string>> typingForNextWindow;
    // Clicks given to the main window when it is run modally; the window then closes.
    std::vector<int> mainWindowClicks;
    // Buttons of the main window held down for a time and let go, after mainWindowClicks: a
    // button that repeats while held sends commandsWhileHeld(milliseconds) commands, any other
    // button one.
    struct HeldButton {
        int controlId;
        int milliseconds;
    };
    std::vector<HeldButton> mainWindowHolds;
    // The answers of the file-open dialog, first to last: a path chosen, or an empty path for
    // "Cancel". With none left, the dialog is cancelled.
    std::vector<std::filesystem::path> filesToOpen;
    std::vector<std::string> fileDialogTitles;  // every file-open dialog shown
    // The answers of the save dialog, as those of the file-open dialog; with none left it is cancelled.
    std::vector<std::filesystem::path> filesToSave;
    std::vector<std::string> saveDialogTitles;          // every save dialog shown
    std::vector<std::string> saveDialogSuggestedNames;  // and the name it started with

    bool isEnabled(int controlId) const;
    std::string text(int controlId) const;
    bool isWindowControlEnabled(int controlId) const;
    bool isWindowControlChecked(int controlId) const;
    std::string windowText(int controlId) const;

    void setControlText(int controlId, const std::string& text) override;
    void enableControl(int controlId, bool enabled) override;
    void enableMainWindow(bool enabled) override;
    void setWindowControlText(int controlId, const std::string& text) override;
    void enableWindowControl(int controlId, bool enabled) override;
    void checkWindowControl(int controlId, bool checked) override;
    std::string windowControlText(int controlId) override;
    void runModalWindow(const WindowTemplate& window, const WindowHandler& handler) override;
    void showMessage(const std::string& text) override;
    std::filesystem::path chooseFileToOpen(const std::string& title) override;
    std::filesystem::path chooseFileToSave(const std::string& title, const std::string& suggestedName) override;
    void setHighPriority(bool high) override;
    double timeOfDaySeconds() override;
    bool startProcessAndWait(const std::string& commandLine) override;
    bool openWithDefaultProgramAndWait(const std::string& fileName) override;
    bool pollStopRequest() override;
};

}  // namespace quillstep

#include "platform/headless/headless_platform.h"

#include <utility>

namespace quillstep {
namespace {

// Appends to a record, which holds only the latest entry when the history is not kept.
template <typename Record, typename Entry>
void record(Record& history, bool keepHistory, Entry&& entry) {
    if (!keepHistory) history.clear();
    history.push_back(std::forward<Entry>(entry));
}

}  // namespace

bool HeadlessPlatform::isEnabled(int controlId) const {
    const auto it = controlEnabled.find(controlId);
    return it == controlEnabled.end() ? true : it->second;
}

std::string HeadlessPlatform::text(int controlId) const {
    const auto it = controlTexts.find(controlId);
    return it == controlTexts.end() ? std::string() : it->second;
}

bool HeadlessPlatform::isWindowControlEnabled(int controlId) const {
    const auto it = windowControlEnabled.find(controlId);
    return it == windowControlEnabled.end() ? true : it->second;
}

bool HeadlessPlatform::isWindowControlChecked(int controlId) const {
    const auto it = windowControlChecked.find(controlId);
    return it != windowControlChecked.end() && it->second;
}

std::string HeadlessPlatform::windowText(int controlId) const {
    const auto it = windowControlTexts.find(controlId);
    return it == windowControlTexts.end() ? std::string() : it->second;
}

void HeadlessPlatform::setControlText(int controlId, const std::string& text) {
    controlTexts[controlId] = text;
    record(textHistory, keepHistory, std::make_pair(controlId, text));
}

void HeadlessPlatform::enableControl(int controlId, bool enabled) { controlEnabled[controlId] = enabled; }

void HeadlessPlatform::enableMainWindow(bool enabled) {
    mainWindowEnabled = enabled;
    record(mainWindowEnableHistory, keepHistory, enabled);
}

void HeadlessPlatform::setWindowControlText(int controlId, const std::string& text) {
    if (!windowControlTexts.count(controlId)) return;
    windowControlTexts[controlId] = text;
    record(windowTextHistory, keepHistory, std::make_pair(controlId, text));
}

void HeadlessPlatform::enableWindowControl(int controlId, bool enabled) {
    if (windowControlEnabled.count(controlId)) windowControlEnabled[controlId] = enabled;
}

void HeadlessPlatform::checkWindowControl(int controlId, bool checked) {
    if (windowControlChecked.count(controlId)) windowControlChecked[controlId] = checked;
}

std::string HeadlessPlatform::windowControlText(int controlId) { return windowText(controlId); }

void HeadlessPlatform::runModalWindow(const WindowTemplate& window, const WindowHandler& handler) {
    record(shownWindows, keepHistory, window);
    if (window.isMainWindow) {
        for (const auto& control : window.controls) {
            controlTexts[control.id] = control.text;
            controlEnabled[control.id] = true;
        }
    } else {
        windowControlTexts.clear();
        windowControlEnabled.clear();
        windowControlChecked.clear();
        windowTextHistory.clear();
        for (const auto& control : window.controls) {
            windowControlTexts[control.id] = control.text;
            windowControlEnabled[control.id] = true;
            windowControlChecked[control.id] = false;
        }
    }
    if (handler.onCreated) handler.onCreated();
    // A greyed control sends nothing.
    const auto enabled = [&](int id) { return window.isMainWindow ? isEnabled(id) : isWindowControlEnabled(id); };
    const auto command = [&](int id) { return handler.onCommand && handler.onCommand(id) == WindowAction::Close; };
    if (!window.isMainWindow) {
        std::vector<std::pair<int, std::string>> typing;
        typing.swap(typingForNextWindow);
        for (const auto& [id, text] : typing) {
            if (!windowControlTexts.count(id) || !enabled(id)) continue;
            windowControlTexts[id] = text;
            if (command(id)) return;
        }
    }
    std::vector<int> clicks;
    clicks.swap(window.isMainWindow ? mainWindowClicks : clicksForNextWindow);
    for (int id : clicks) {
        if (!enabled(id)) continue;
        if (command(id)) return;
    }
    if (!window.isMainWindow) return;
    std::vector<HeldButton> holds;
    holds.swap(mainWindowHolds);
    for (const HeldButton& hold : holds) {
        const ControlTemplate* button = window.find(hold.controlId);
        const int commands = button && button->repeatsWhileHeld ? commandsWhileHeld(hold.milliseconds) : 1;
        for (int k = 0; k < commands; ++k) {
            if (!enabled(hold.controlId)) break;
            if (command(hold.controlId)) return;
        }
    }
}

void HeadlessPlatform::showMessage(const std::string& text) {
    record(messages, keepHistory, text);
    if (onMessage) onMessage(text);
}

std::filesystem::path HeadlessPlatform::chooseFileToOpen(const std::string& title) {
    record(fileDialogTitles, keepHistory, title);
    if (filesToOpen.empty()) return {};
    std::filesystem::path chosen = filesToOpen.front();
    filesToOpen.erase(filesToOpen.begin());
    return chosen;
}

std::filesystem::path HeadlessPlatform::chooseFileToSave(const std::string& title, const std::string& suggestedName) {
    record(saveDialogTitles, keepHistory, title);
    record(saveDialogSuggestedNames, keepHistory, suggestedName);
    if (filesToSave.empty()) return {};
    std::filesystem::path chosen = filesToSave.front();
    filesToSave.erase(filesToSave.begin());
    return chosen;
}

void HeadlessPlatform::setHighPriority(bool high) { record(priorityHistory, keepHistory, high); }

double HeadlessPlatform::timeOfDaySeconds() { return clock ? clock() : localTimeOfDaySeconds(); }

bool HeadlessPlatform::startProcessAndWait(const std::string& commandLine) {
    record(startedCommandLines, keepHistory, commandLine);
    return processesStart;
}

bool HeadlessPlatform::openWithDefaultProgramAndWait(const std::string& fileName) {
    record(openedFiles, keepHistory, fileName);
    return defaultProgramOpens;
}

bool HeadlessPlatform::pollStopRequest() { return stopRequest ? stopRequest() : false; }

}  // namespace quillstep

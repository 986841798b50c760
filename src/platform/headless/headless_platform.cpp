#include "platform/headless/headless_platform.h"

#include <chrono>
#include <ctime>
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

double localTimeOfDaySeconds() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return (local.tm_hour * 3'600'000.0 + local.tm_min * 60'000.0 + local.tm_sec * 1'000.0 + double(ms)) / 1000.0;
}

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
    if (!window.isMainWindow) {
        for (const auto& [id, text] : typedForNextWindow) windowControlTexts[id] = text;
        typedForNextWindow.clear();
    }
    std::vector<int> clicks;
    clicks.swap(window.isMainWindow ? mainWindowClicks : clicksForNextWindow);
    for (int id : clicks) {
        // A greyed control sends nothing.
        if (window.isMainWindow ? !isEnabled(id) : !isWindowControlEnabled(id)) continue;
        if (handler.onCommand && handler.onCommand(id) == WindowAction::Close) break;
    }
}

std::string HeadlessPlatform::windowControlText(int controlId) { return windowText(controlId); }

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

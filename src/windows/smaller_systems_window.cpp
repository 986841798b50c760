#include "windows/smaller_systems_window.h"

#include <array>
#include <string>

#include "texts/check_system_texts.h"
#include "windows/file_reports.h"
#include "windows/program_identity.h"
#include "texts/smaller_systems_texts.h"
#include "windows/system_save_as.h"
#include "windows/value_steps.h"

namespace quillstep {
namespace {

using namespace window_rows;

// The controls in creation (tab) order. The two value labels get their texts from the choice.
constexpr std::array<ControlRow, 16> CONTROLS{{
    {SMALLER_SYSTEMS_HEADING, LABEL, "Smaller abbreviated systems", 10, 8, 310, 14, HEADING_FONT},
    {SMALLER_SYSTEMS_EXPLANATION, LABEL,
     "The same guarantee as the greedy search with far fewer combinations, searched for as long as the time "
     "limit allows.",
     10, 25, 310, 18, DIALOG_FONT},
    {GUARANTEE_CAPTION, LABEL, "Guaranteed hits", 10, 55, 70, 10, DIALOG_FONT},
    {GUARANTEE_LABEL, LABEL, "", 85, 47, 25, 25, VALUE_FONT},
    {GUARANTEE_UP, BUTTON, "up", 115, 47, 30, 15, DIALOG_FONT},
    {GUARANTEE_DOWN, BUTTON, "down", 115, 62, 30, 15, DIALOG_FONT},
    {TIME_LIMIT_CAPTION, LABEL, "Time limit in seconds", 165, 52, 65, 20, DIALOG_FONT},
    {TIME_LIMIT_LABEL, LABEL, "", 235, 47, 45, 25, VALUE_FONT},
    {TIME_LIMIT_UP, BUTTON, "up", 285, 47, 30, 15, DIALOG_FONT},
    {TIME_LIMIT_DOWN, BUTTON, "down", 285, 62, 30, 15, DIALOG_FONT},
    {ANY_COMBINATION_BOX, ControlKind::CheckBox, "Any seven numbers as members (they may lie outside the filters)",
     10, 85, 310, 12, DIALOG_FONT},
    {SMALLER_SYSTEMS_START, BUTTON, "Start", 10, 102, 100, 20, DIALOG_FONT},
    {SMALLER_SYSTEMS_CLOSE, BUTTON, "Close", 220, 102, 100, 20, DIALOG_FONT},
    {SMALLER_SYSTEMS_PROGRESS, LABEL, SMALLER_SYSTEMS_READY_TEXT, 10, 130, 310, 18, DIALOG_FONT},
    {SMALLER_SYSTEMS_RESULT, LABEL, "", 10, 150, 310, 42, DIALOG_FONT},
    {SMALLER_SYSTEMS_SAVE_AS, BUTTON, "Save as...", 115, 102, 100, 20, DIALOG_FONT},
}};

// Everything a click could start while a search runs; greyed out until it has ended.
constexpr std::array<int, 7> INPUT_CONTROLS{GUARANTEE_UP,        GUARANTEE_DOWN,        TIME_LIMIT_UP,
                                            TIME_LIMIT_DOWN,     ANY_COMBINATION_BOX,   SMALLER_SYSTEMS_START,
                                            SMALLER_SYSTEMS_CLOSE};

void enableInput(Platform& platform, bool enabled) {
    for (int id : INPUT_CONTROLS) platform.enableWindowControl(id, enabled);
}

// The profile over every draw of the system the search put into the abbreviated-system store.
DrawProfile profileOfSystemStore(const SharedState& state, int32_t systemSize) {
    const std::vector<uint64_t> system = systemStoreMembers(state, systemSize);
    return profileAllDraws(system.data(), systemSize, state.parameters.totalNumbers);
}

// The system of the window's last search, for "Save as..." (none until a search has checked one).
SavableSystem lastSystem;

void enableSaveAs(Platform& platform) { platform.enableWindowControl(SMALLER_SYSTEMS_SAVE_AS, lastSystem.present); }

// A system the writer checked and put into the abbreviated-system store, written to its file or not.
bool systemChecked(const OptimiseOutcome& outcome) {
    return outcome.written() || outcome.fault.reason == FaultReason::WriteFailed;
}

void runSearch(SharedState& state, Platform& platform, const SmallerSystemsChoice& choice) {
    const OptimiseSettings settings = optimiseSettingsOf(choice);
    enableInput(platform, false);
    platform.enableWindowControl(SMALLER_SYSTEMS_SAVE_AS, false);
    platform.setWindowControlText(SMALLER_SYSTEMS_RESULT, "");
    CoverProgress start;
    start.remainingSeconds = settings.timeLimitSeconds;
    platform.setWindowControlText(SMALLER_SYSTEMS_PROGRESS, optimiserProgressText(start));
    OptimiseObserver observer;
    observer.onProgress = [&platform](const CoverProgress& progress) {
        platform.setWindowControlText(SMALLER_SYSTEMS_PROGRESS, optimiserProgressText(progress));
    };
    observer.stopRequested = [&platform] { return platform.pollStopRequest(); };
    observer.write = mainWindowWriteObserver(platform);
    const OptimiseOutcome outcome = optimiseStoredSystem(state, settings, observer);
    platform.setWindowControlText(SMALLER_SYSTEMS_PROGRESS, SMALLER_SYSTEMS_READY_TEXT);
    std::string result = optimiseOutcomeText(outcome, settings);
    if (outcome.written())
        result += allDrawsShareText(profileOfSystemStore(state, outcome.systemSize), settings.guaranteedHits);
    platform.setWindowControlText(SMALLER_SYSTEMS_RESULT, result);
    lastSystem = systemChecked(outcome) ? savableSystemFromStore(state, outcome.systemSize, settings.guaranteedHits,
                                                                 settings.anyCombination)
                                        : SavableSystem{};
    enableInput(platform, true);
    enableSaveAs(platform);
}

void saveLastSystemAs(SharedState& state, Platform& platform) {
    const SaveAsOutcome outcome = saveSystemAs(state, platform, lastSystem);
    if (!outcome.cancelled)
        platform.setWindowControlText(SMALLER_SYSTEMS_PROGRESS, saveAsOutcomeText(outcome, lastSystem));
}

// The choice to start from at the next use of the window.
SmallerSystemsChoice lastChoice;

constexpr std::array<ValueStep<SmallerSystemsChoice>, 2> VALUE_STEPS{{
    {GUARANTEE_UP, GUARANTEE_DOWN, GUARANTEE_LABEL, stepGuarantee,
     [](const SmallerSystemsChoice& c) { return c.guaranteedHits; }},
    {TIME_LIMIT_UP, TIME_LIMIT_DOWN, TIME_LIMIT_LABEL, stepTimeLimit,
     [](const SmallerSystemsChoice& c) { return c.timeLimitSeconds; }},
}};

}  // namespace

WindowTemplate smallerSystemsWindowTemplate(const SmallerSystemsChoice& choice) {
    WindowTemplate window = programWindowFrame(120, 100, 330, 200);
    window.fonts = {{12, true, false, DEFAULT_CHARACTER_SET}, {24, true, false, DEFAULT_CHARACTER_SET}};
    for (const ControlRow& row : CONTROLS) window.controls.push_back(row.toControl());
    showValues(VALUE_STEPS, choice, window);
    return window;
}

WindowAction smallerSystemsWindowCallback(SharedState& state, Platform& platform, SmallerSystemsChoice& choice,
                                          int controlId) {
    stepValue(VALUE_STEPS, platform, choice, controlId);
    switch (controlId) {
        case ANY_COMBINATION_BOX:
            choice.anyCombination = !choice.anyCombination;
            platform.checkWindowControl(ANY_COMBINATION_BOX, choice.anyCombination);
            break;
        case SMALLER_SYSTEMS_START:
            runSearch(state, platform, choice);
            break;
        case SMALLER_SYSTEMS_SAVE_AS:
            saveLastSystemAs(state, platform);
            break;
        case SMALLER_SYSTEMS_CLOSE:
            return WindowAction::Close;
        default:
            break;  // Escape while nothing runs, and the labels: nothing
    }
    return WindowAction::Continue;
}

void runSmallerSystemsWindow(SharedState& state, Platform& platform, SmallerSystemsChoice& choice) {
    WindowHandler handler;
    lastSystem = SavableSystem{};  // each opening saves only what it found itself
    handler.onCreated = [&platform, &choice] {
        platform.checkWindowControl(ANY_COMBINATION_BOX, choice.anyCombination);
        enableSaveAs(platform);
    };
    handler.onCommand = [&state, &platform, &choice](int controlId) {
        return smallerSystemsWindowCallback(state, platform, choice, controlId);
    };
    platform.enableMainWindow(false);
    platform.runModalWindow(smallerSystemsWindowTemplate(choice), handler);
    platform.enableMainWindow(true);
}

void showSmallerSystemsWindow(SharedState& state, Platform& platform) {
    runSmallerSystemsWindow(state, platform, lastChoice);
}

const SmallerSystemsChoice& lastSmallerSystemsChoice() { return lastChoice; }

}  // namespace quillstep

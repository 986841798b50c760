#include "windows/wheel_window.h"

#include <array>
#include <string>
#include <vector>

#include "windows/program_identity.h"
#include "windows/smaller_systems_choice.h"
#include "windows/value_steps.h"

namespace quillstep {
namespace {

enum FontIndex : int { DIALOG_FONT = -1, HEADING_FONT, VALUE_FONT };
constexpr int DEFAULT_CHARACTER_SET = 1;

constexpr ControlKind LABEL = ControlKind::Label;
constexpr ControlKind BUTTON = ControlKind::Button;

constexpr int WIDTH = 350;
// The slip: rows of ten numbers, as on a lottery ticket.
constexpr int SLIP_LEFT = 10, SLIP_TOP = 46, SLIP_COLUMNS = 10;
constexpr int SLIP_WIDTH = 30, SLIP_HEIGHT = 14, SLIP_STEP_X = 32, SLIP_STEP_Y = 16;

// The controls before the slip, then those after it, in creation (tab) order. The value labels
// and the slip get their texts from the choice.
constexpr std::array<ControlRow, 2> LEADING_CONTROLS{{
    {WHEEL_HEADING, LABEL, "Wheel my numbers", 10, 8, 330, 14, HEADING_FONT},
    {WHEEL_EXPLANATION, LABEL,
     "Choose at least 8 of your numbers on the slip. The search looks for as few tickets of seven of them as it "
     "can that keep the guarantee below.",
     10, 24, 330, 18, DIALOG_FONT},
}};

constexpr std::array<ControlRow, 24> TRAILING_CONTROLS{{
    {WHEEL_MARK_KEYS, ControlKind::ToggleButton, MARK_KEYS_TEXT, 10, 114, 60, 14, DIALOG_FONT},
    {WHEEL_CLEAR_SLIP, BUTTON, "Clear", 75, 114, 50, 14, DIALOG_FONT},
    {WHEEL_KEYS_HINT, LABEL, KEYS_HINT_TEXT, 132, 113, 208, 18, DIALOG_FONT},
    {WHEEL_CHOICE_LABEL, LABEL, "", 10, 132, 330, 18, DIALOG_FONT},
    {WHEEL_HITS_CAPTION, LABEL, "Hits wanted", 10, 154, 48, 20, DIALOG_FONT},
    {WHEEL_HITS_LABEL, LABEL, "", 60, 155, 22, 16, VALUE_FONT},
    {WHEEL_HITS_UP, BUTTON, "up", 84, 150, 28, 12, DIALOG_FONT},
    {WHEEL_HITS_DOWN, BUTTON, "down", 84, 163, 28, 12, DIALOG_FONT},
    {WHEEL_DRAWN_CAPTION, LABEL, "If drawn", 122, 154, 48, 20, DIALOG_FONT},
    {WHEEL_DRAWN_LABEL, LABEL, "", 172, 155, 22, 16, VALUE_FONT},
    {WHEEL_DRAWN_UP, BUTTON, "up", 196, 150, 28, 12, DIALOG_FONT},
    {WHEEL_DRAWN_DOWN, BUTTON, "down", 196, 163, 28, 12, DIALOG_FONT},
    {WHEEL_TIME_CAPTION, LABEL, "Time limit in seconds", 234, 154, 50, 20, DIALOG_FONT},
    {WHEEL_TIME_LABEL, LABEL, "", 286, 155, 24, 16, VALUE_FONT},
    {WHEEL_TIME_UP, BUTTON, "up", 312, 150, 28, 12, DIALOG_FONT},
    {WHEEL_TIME_DOWN, BUTTON, "down", 312, 163, 28, 12, DIALOG_FONT},
    {WHEEL_GUARANTEE_LABEL, LABEL, "", 10, 179, 330, 18, DIALOG_FONT},
    {WHEEL_START, BUTTON, "Start", 10, 199, 100, 18, DIALOG_FONT},
    {WHEEL_SAVE_AS, BUTTON, "Save as...", 125, 199, 100, 18, DIALOG_FONT},
    {WHEEL_CLOSE, BUTTON, "Close", 240, 199, 100, 18, DIALOG_FONT},
    {WHEEL_PROGRESS, LABEL, WHEEL_WINDOW_READY_TEXT, 10, 221, 330, 18, DIALOG_FONT},
    {WHEEL_SIZE_LABEL, LABEL, "", 10, 241, 330, 18, DIALOG_FONT},
    {WHEEL_SHARES_LABEL, LABEL, "", 10, 261, 330, 18, DIALOG_FONT},
    {WHEEL_FILE_LABEL, LABEL, "", 10, 281, 330, 18, DIALOG_FONT},
}};
constexpr int HEIGHT = 306;

// Everything a click could start while a search runs; greyed out until it has ended.
std::vector<int> inputControls() {
    std::vector<int> ids;
    for (int n = 1; n <= HIGHEST_NUMBER; ++n) ids.push_back(slipNumberButton(n));
    for (int id : {WHEEL_MARK_KEYS, WHEEL_CLEAR_SLIP, WHEEL_HITS_UP, WHEEL_HITS_DOWN, WHEEL_DRAWN_UP, WHEEL_DRAWN_DOWN,
                   WHEEL_TIME_UP, WHEEL_TIME_DOWN, WHEEL_START, WHEEL_SAVE_AS, WHEEL_CLOSE})
        ids.push_back(id);
    return ids;
}

void enableInput(Platform& platform, bool enabled) {
    for (int id : inputControls()) platform.enableWindowControl(id, enabled);
}

bool isKey(const WheelChoice& choice, int number) { return (choice.keys >> number & 1) != 0; }
bool isChosen(const WheelChoice& choice, int number) { return (choice.pool >> number & 1) != 0; }

void showSlipNumber(Platform& platform, const WheelChoice& choice, int number) {
    platform.setWindowControlText(slipNumberButton(number), slipNumberText(number, isKey(choice, number)));
    platform.checkWindowControl(slipNumberButton(number), isChosen(choice, number));
}

void showChoice(Platform& platform, const WheelChoice& choice) {
    platform.setWindowControlText(WHEEL_CHOICE_LABEL, wheelChoiceText(choice));
    platform.setWindowControlText(WHEEL_GUARANTEE_LABEL, guaranteeMeaningText(choice));
}

// The wheel of the window's last run, for "Save as..." (none until the check has accepted one).
struct SavableWheel {
    bool present = false;
    WheelRequest request;
    std::vector<uint64_t> tickets;
};
SavableWheel lastWheel;

void enableSaveAs(Platform& platform) { platform.enableWindowControl(WHEEL_SAVE_AS, lastWheel.present); }

WriteObserver quietWriteObserver(Platform& platform) {
    WriteObserver observer;
    observer.timeOfDaySeconds = [&platform] { return platform.timeOfDaySeconds(); };
    return observer;
}

void makeTheWheel(SharedState& state, Platform& platform, const WheelMaker& makeWheel,
                  const WheelChoice& choice) {
    if (const WheelRefusal refusal = wheelChoiceFault(choice); refusal.refused()) {
        platform.setWindowControlText(WHEEL_PROGRESS, wheelChoiceRefusedText(refusal));
        return;
    }
    enableInput(platform, false);
    for (int id : {WHEEL_SIZE_LABEL, WHEEL_SHARES_LABEL, WHEEL_FILE_LABEL}) platform.setWindowControlText(id, "");
    WheelMaking making;
    making.request = wheelCoverRequest(wheelRequestOf(choice));
    making.request.timeLimitSeconds = choice.timeLimitSeconds;
    making.request.onProgress = [&platform](const CoverProgress& progress) {
        platform.setWindowControlText(WHEEL_PROGRESS, wheelProgressText(progress));
    };
    making.request.stopRequested = [&platform] { return platform.pollStopRequest(); };
    making.target = state.outputFolder / WHEEL_FILE_NAME;
    making.shownName = WHEEL_FILE_NAME;
    CoverProgress start;
    start.remainingSeconds = choice.timeLimitSeconds;
    platform.setWindowControlText(WHEEL_PROGRESS, wheelProgressText(start));

    const WheelMade made = makeWheel(making, quietWriteObserver(platform));
    platform.setWindowControlText(WHEEL_PROGRESS, WHEEL_WINDOW_READY_TEXT);
    platform.setWindowControlText(WHEEL_SIZE_LABEL, wheelSizeText(made, wheelOf(making.request)));
    if (made.search.found()) platform.setWindowControlText(WHEEL_FILE_LABEL, wheelFileText(made));
    // A wheel the independent check accepted, written or not (a name of one's own may still take it).
    if (made.search.found() && wheelPassedCheck(made.file)) {
        const std::vector<uint64_t>& tickets = made.search.tickets;
        const DrawProfile profile =
            profileAllDraws(tickets.data(), static_cast<int64_t>(tickets.size()), HIGHEST_NUMBER);
        platform.setWindowControlText(WHEEL_SHARES_LABEL, wheelDrawSharesText(profile));
        lastWheel = SavableWheel{true, wheelOf(making.request), tickets};
    } else {
        lastWheel = SavableWheel{};
    }
    enableInput(platform, true);
    enableSaveAs(platform);
}

// Writes the last wheel again under a name the user chooses, through the same checked writer.
void saveLastWheelAs(Platform& platform) {
    if (!lastWheel.present) return;
    const std::filesystem::path target = platform.chooseFileToSave(SAVE_WHEEL_FILE_TITLE, SUGGESTED_WHEEL_FILE_NAME);
    if (target.empty()) return;
    const CoverRequest request = wheelCoverRequest(lastWheel.request);
    const WheelToWrite wheel{request, lastWheel.tickets, target, pathText(target.filename())};
    WheelMade saved;
    saved.search.tickets = lastWheel.tickets;
    saved.file = writeCheckedWheelFile(wheel, {}, quietWriteObserver(platform));
    platform.setWindowControlText(WHEEL_PROGRESS, wheelSavedAsText(saved));
}

// The choice to start from at the next use of the window.
WheelChoice lastChoice;

constexpr std::array<ValueStep<WheelChoice>, 3> VALUE_STEPS{{
    {WHEEL_HITS_UP, WHEEL_HITS_DOWN, WHEEL_HITS_LABEL, stepWheelHits, [](const WheelChoice& c) { return c.hits; }},
    {WHEEL_DRAWN_UP, WHEEL_DRAWN_DOWN, WHEEL_DRAWN_LABEL, stepWheelDrawn, [](const WheelChoice& c) { return c.drawn; }},
    {WHEEL_TIME_UP, WHEEL_TIME_DOWN, WHEEL_TIME_LABEL, stepWheelTimeLimit,
     [](const WheelChoice& c) { return c.timeLimitSeconds; }},
}};

}  // namespace

WindowTemplate wheelWindowTemplate(const WheelChoice& choice) {
    WindowTemplate window;
    window.title = PROGRAM_WINDOW_TITLE;
    window.x = 100;
    window.y = 60;
    window.width = WIDTH;
    window.height = HEIGHT;
    window.style = AUXILIARY_WINDOW_STYLE;
    window.fonts = {{12, true, false, DEFAULT_CHARACTER_SET}, {12, true, false, DEFAULT_CHARACTER_SET}};
    for (const ControlRow& row : LEADING_CONTROLS) window.controls.push_back(row.toControl());
    for (int n = 1; n <= HIGHEST_NUMBER; ++n) {
        const int column = (n - 1) % SLIP_COLUMNS, row = (n - 1) / SLIP_COLUMNS;
        window.controls.push_back({slipNumberButton(n), ControlKind::ToggleButton, slipNumberText(n, isKey(choice, n)),
                                   SLIP_LEFT + column * SLIP_STEP_X, SLIP_TOP + row * SLIP_STEP_Y, SLIP_WIDTH,
                                   SLIP_HEIGHT, DIALOG_FONT});
    }
    for (const ControlRow& row : TRAILING_CONTROLS) window.controls.push_back(row.toControl());
    showValues(VALUE_STEPS, choice, window);
    for (auto& control : window.controls) {
        if (control.id == WHEEL_CHOICE_LABEL) control.text = wheelChoiceText(choice);
        if (control.id == WHEEL_GUARANTEE_LABEL) control.text = guaranteeMeaningText(choice);
    }
    return window;
}

WindowAction wheelWindowCallback(SharedState& state, Platform& platform, const WheelMaker& makeWheel,
                                 WheelChoice& choice, int controlId) {
    if (const int number = slipNumberOfButton(controlId); number != 0) {
        clickSlipNumber(choice, number);
        showSlipNumber(platform, choice, number);
        showChoice(platform, choice);
        return WindowAction::Continue;
    }
    // t and m change what the choice means; the time limit does not.
    const ValueStep<WheelChoice>* stepped = stepValue(VALUE_STEPS, platform, choice, controlId);
    if (stepped && stepped->label != WHEEL_TIME_LABEL) showChoice(platform, choice);
    switch (controlId) {
        case WHEEL_MARK_KEYS:
            choice.markingKeys = !choice.markingKeys;
            platform.checkWindowControl(WHEEL_MARK_KEYS, choice.markingKeys);
            break;
        case WHEEL_CLEAR_SLIP:
            clearSlip(choice);
            for (int n = 1; n <= HIGHEST_NUMBER; ++n) showSlipNumber(platform, choice, n);
            showChoice(platform, choice);
            break;
        case WHEEL_START:
            makeTheWheel(state, platform, makeWheel, choice);
            break;
        case WHEEL_SAVE_AS:
            saveLastWheelAs(platform);
            break;
        case WHEEL_CLOSE:
            return WindowAction::Close;
        default:
            break;  // Escape while nothing runs, and the labels: nothing
    }
    return WindowAction::Continue;
}

void runWheelWindow(SharedState& state, Platform& platform, const WheelMaker& makeWheel,
                    WheelChoice& choice) {
    WindowHandler handler;
    lastWheel = SavableWheel{};  // each opening saves only what it made itself
    handler.onCreated = [&platform, &choice] {
        for (int n = 1; n <= HIGHEST_NUMBER; ++n)
            platform.checkWindowControl(slipNumberButton(n), isChosen(choice, n));
        platform.checkWindowControl(WHEEL_MARK_KEYS, choice.markingKeys);
        enableSaveAs(platform);
    };
    handler.onCommand = [&state, &platform, &makeWheel, &choice](int controlId) {
        return wheelWindowCallback(state, platform, makeWheel, choice, controlId);
    };
    platform.enableMainWindow(false);
    platform.runModalWindow(wheelWindowTemplate(choice), handler);
    platform.enableMainWindow(true);
}

void showWheelWindow(SharedState& state, Platform& platform, const WheelMaker& makeWheel) {
    runWheelWindow(state, platform, makeWheel, lastChoice);
}

}  // namespace quillstep

#include "windows/set_values_window.h"

#include "windows/program_identity.h"
#include "windows/set_values_form.h"

namespace quillstep {
namespace {

// The Windows dialog manager's commands for Enter and Escape.
constexpr int ENTER_COMMAND = 1, ESCAPE_COMMAND = 2;

// Rows of the fields, in dialog units.
constexpr int FIRST_ROW_Y = 30, ROW_PITCH = 17, ROW_HEIGHT = 13;
constexpr int CAPTION_X = 10, CAPTION_WIDTH = 170;
constexpr int EDIT_X = 185, EDIT_WIDTH = 85;
constexpr int RANGE_X = 278, RANGE_WIDTH = 195;
constexpr int WINDOW_WIDTH = 483;
constexpr int MESSAGE_Y = FIRST_ROW_Y + ROW_PITCH * SET_VALUES_FIELD_COUNT + 4;
constexpr int BUTTON_Y = MESSAGE_Y + 30;

SetValuesTexts typedTexts(Platform& platform) {
    SetValuesTexts texts;
    for (int i = 0; i < SET_VALUES_FIELD_COUNT; ++i) texts[i] = platform.windowControlText(SET_VALUES_EDIT + i);
    return texts;
}

void showRanges(Platform& platform, const SetValuesTexts& typed, const GenerationParameters& current) {
    for (int i = 0; i < SET_VALUES_FIELD_COUNT; ++i)
        platform.setWindowControlText(SET_VALUES_RANGE + i, setValuesRangeText(SET_VALUES_FIELDS[i], typed, current));
}

}  // namespace

WindowTemplate setValuesWindowTemplate(const GenerationParameters& current) {
    WindowTemplate window = programWindowFrame(100, 40, WINDOW_WIDTH, BUTTON_Y + 28);
    auto& controls = window.controls;
    controls.push_back({SET_VALUES_HEADING, ControlKind::Label,
                        "Type the values and press OK. They are checked as the up and down buttons check them; "
                        "the range beside each field is what the other values leave it.",
                        CAPTION_X, 6, WINDOW_WIDTH - 2 * CAPTION_X, 18, -1});
    const SetValuesTexts texts = setValuesTexts(current);
    for (int i = 0; i < SET_VALUES_FIELD_COUNT; ++i) {
        const int y = FIRST_ROW_Y + ROW_PITCH * i;
        controls.push_back(
            {SET_VALUES_CAPTION + i, ControlKind::Label, SET_VALUES_FIELDS[i].caption, CAPTION_X, y + 2, CAPTION_WIDTH, 10, -1});
        controls.push_back({SET_VALUES_EDIT + i, ControlKind::Edit, texts[i], EDIT_X, y, EDIT_WIDTH, ROW_HEIGHT, -1});
        controls.push_back({SET_VALUES_RANGE + i, ControlKind::Label,
                            setValuesRangeText(SET_VALUES_FIELDS[i], texts, current), RANGE_X, y + 2, RANGE_WIDTH, 10, -1});
    }
    controls.push_back({SET_VALUES_MESSAGE, ControlKind::Label, "", CAPTION_X, MESSAGE_Y, WINDOW_WIDTH - 2 * CAPTION_X, 26, -1});
    controls.push_back({SET_VALUES_OK, ControlKind::Button, "OK", WINDOW_WIDTH - 2 * 70 - 15, BUTTON_Y, 70, 18, -1});
    controls.push_back({SET_VALUES_CANCEL, ControlKind::Button, "Cancel", WINDOW_WIDTH - 70 - 10, BUTTON_Y, 70, 18, -1});
    return window;
}

std::optional<GenerationParameters> showSetValuesWindow(Platform& platform, const GenerationParameters& current) {
    std::optional<GenerationParameters> accepted;
    WindowHandler handler;
    handler.onCommand = [&](int controlId) {
        if (controlId >= SET_VALUES_EDIT && controlId < SET_VALUES_EDIT + SET_VALUES_FIELD_COUNT) {
            showRanges(platform, typedTexts(platform), current);
            return WindowAction::Continue;
        }
        if (controlId == SET_VALUES_CANCEL || controlId == ESCAPE_COMMAND) return WindowAction::Close;
        if (controlId != SET_VALUES_OK && controlId != ENTER_COMMAND) return WindowAction::Continue;
        SetValuesReading reading = readSetValues(typedTexts(platform), current);
        if (!reading.parameters) {
            platform.setWindowControlText(SET_VALUES_MESSAGE, reading.error);
            return WindowAction::Continue;
        }
        accepted = reading.parameters;
        return WindowAction::Close;
    };
    platform.enableMainWindow(false);
    platform.runModalWindow(setValuesWindowTemplate(current), handler);
    platform.enableMainWindow(true);
    return accepted;
}

}  // namespace quillstep

#pragma once
// "Set values...": the thirteen parameters of the main window as edit fields, each with the range
// the other values leave it; OK checks them as the up/down buttons and the command line do and
// hands them back, Cancel changes nothing.

#include <optional>

#include "engine/parameters.h"
#include "platform/platform.h"
#include "platform/window.h"

namespace quillstep {

// The window's own controls. Field i (0 to 12, in the order of SET_VALUES_FIELDS) has its caption
// SET_VALUES_CAPTION + i, its edit field SET_VALUES_EDIT + i and its range SET_VALUES_RANGE + i.
enum : int {
    SET_VALUES_HEADING = 2100,
    SET_VALUES_CAPTION,
    SET_VALUES_EDIT = 2121,
    SET_VALUES_RANGE = 2141,
    SET_VALUES_MESSAGE = 2160,  // why OK applied nothing
    SET_VALUES_OK,
    SET_VALUES_CANCEL,
};

// The window for the parameters as they are.
WindowTemplate setValuesWindowTemplate(const GenerationParameters& current);

// Shows the window modally, the main window disabled meanwhile: the parameters OK accepted, or
// nothing when the window was cancelled.
std::optional<GenerationParameters> showSetValuesWindow(Platform& platform, const GenerationParameters& current);

}  // namespace quillstep

#pragma once
// The values a window steps with up and down buttons (a guarantee, a time limit, "t if m"), one
// row each: the buttons, the label that shows the value, the step on the window's choice and the
// value read back. The window's handler and template go through the rows instead of a case per
// button.

#include <array>
#include <cstddef>
#include <string>

#include "platform/platform.h"
#include "platform/window.h"

namespace quillstep {

template <typename Choice>
struct ValueStep {
    int up;
    int down;
    int label;
    bool (*step)(Choice& choice, bool up);  // false when the value stays (at its bound)
    int (*value)(const Choice& choice);
};

// Steps the value whose up or down button `controlId` is and shows it in its label. The row of
// the value that changed, or null (no such button, or the value at its bound).
template <typename Choice, size_t N>
const ValueStep<Choice>* stepValue(const std::array<ValueStep<Choice>, N>& steps, Platform& platform, Choice& choice,
                                   int controlId) {
    for (const ValueStep<Choice>& row : steps) {
        if (controlId != row.up && controlId != row.down) continue;
        if (!row.step(choice, controlId == row.up)) return nullptr;
        platform.setWindowControlText(row.label, std::to_string(row.value(choice)));
        return &row;
    }
    return nullptr;
}

// The values' labels in a window's template, showing the choice.
template <typename Choice, size_t N>
void showValues(const std::array<ValueStep<Choice>, N>& steps, const Choice& choice, WindowTemplate& window) {
    for (ControlTemplate& control : window.controls)
        for (const ValueStep<Choice>& row : steps)
            if (control.id == row.label) control.text = std::to_string(row.value(choice));
}

}  // namespace quillstep

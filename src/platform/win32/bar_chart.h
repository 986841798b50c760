#pragma once
// The bar chart control (ControlKind::BarChart): a static control drawn by its owner from its
// text, whose layout platform/window.h describes.

#include <windows.h>

namespace quillstep {

// Draws the chart of the owner-drawn static control of `item` from its text, in its font.
void drawBarChart(const DRAWITEMSTRUCT& item);

}  // namespace quillstep

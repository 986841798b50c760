#pragma once
// Registers the common control classes, loading the library by name.

namespace quillstep {

// COMCTL32.DLL's InitCommonControlsEx with every standard, date and internet class, or the older
// InitCommonControls where that entry is missing; nothing when the library does not load.
void initCommonControls();

}  // namespace quillstep

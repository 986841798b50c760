#pragma once

#include "platform/platform.h"

namespace quillstep {

// Enable / disable the seven buttons that work on the stored combinations, and with them the
// "Smaller systems..." and "Check a system..." buttons.
void enableStoreCommands(Platform& platform);
void disableStoreCommands(Platform& platform);

}  // namespace quillstep

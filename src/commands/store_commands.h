#pragma once

#include "platform/platform.h"

namespace quillstep {

// Enable / disable the seven buttons that work on the stored combinations.
void enableStoreCommands(Platform& platform);
void disableStoreCommands(Platform& platform);

}  // namespace quillstep

#include "app/store_commands.h"

#include "windows/control_ids.h"

namespace quillstep {

void enableStoreCommands(Platform& platform) {
    for (int id : StoreCommands) platform.enableControl(id, true);
    platform.enableControl(SMALLER_SYSTEMS_BUTTON, true);
    platform.enableControl(CHECK_SYSTEM_BUTTON, true);
}

void disableStoreCommands(Platform& platform) {
    for (int id : StoreCommands) platform.enableControl(id, false);
    platform.enableControl(SMALLER_SYSTEMS_BUTTON, false);
    platform.enableControl(CHECK_SYSTEM_BUTTON, false);
}

}  // namespace quillstep

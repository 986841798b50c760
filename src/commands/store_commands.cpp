#include "commands/store_commands.h"

#include "commands/control_ids.h"

namespace quillstep {

void enableStoreCommands(Platform& platform) {
    for (int id : StoreCommands) platform.enableControl(id, true);
}

void disableStoreCommands(Platform& platform) {
    for (int id : StoreCommands) platform.enableControl(id, false);
}

}  // namespace quillstep

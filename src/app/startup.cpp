#include "app/startup.h"

#include "app/main_window.h"
#include "engine/shared_state.h"
#include "windows/intro_window.h"

namespace quillstep {

int runProgram(Platform& platform) {
    const std::unique_ptr<SharedState> state = createSharedState();
    if (!state) {
        platform.showMessage(STORE_ALLOCATION_FAILED_MESSAGE);
        return 1;
    }
    showIntroWindow(platform);
    runMainWindow(*state, platform);
    return 0;
}

}  // namespace quillstep

#include "app/file_viewer.h"

namespace quillstep {

std::string editorCommandLine(const std::string& fileName) {
    return std::string("\"") + EDITOR_PATH + "\" \"" + fileName + "\"";
}

void viewFile(Platform& platform, const std::string& fileName) {
    if (platform.startProcessAndWait(editorCommandLine(fileName))) return;
    // Current Windows releases no longer ship WordPad: open the file with the default program.
    if (platform.openWithDefaultProgramAndWait(fileName)) return;
    platform.showMessage("Could not open " + fileName +
                         ": neither WordPad nor the default program for text files could be started.");
}

}  // namespace quillstep

#include "windows/about_window.h"

#include <system_error>

#include "quillstep_version.h"
#include "windows/program_identity.h"

namespace quillstep {
namespace {

enum FontIndex : int { DIALOG_FONT = -1, HEADING_FONT };
constexpr int DEFAULT_CHARACTER_SET = 1;
constexpr int ENTER_COMMAND = 1, ESCAPE_COMMAND = 2;
constexpr int WIDTH = 340, TEXT_X = 10, TEXT_WIDTH = WIDTH - 2 * TEXT_X;

}  // namespace

std::string aboutVersionText() { return std::string("Quillstep ") + QUILLSTEP_VERSION_TEXT; }

std::string aboutPurposeText() {
    return "Steps through every combination of 7 out of N numbers and filters them.\n"
           "Stores them, writes them to a file and counts how often each number occurs.\n"
           "Finds abbreviated systems with 4 or 5 guaranteed hits and checks system files.";
}

std::string aboutFilesText(const std::filesystem::path& outputFolder) {
    std::error_code error;
    const std::filesystem::path shown =
        outputFolder.empty() ? std::filesystem::current_path(error) : std::filesystem::absolute(outputFolder, error);
    return std::string("Files (mb_comb_file.txt and the systems mb_comb_file_ab.txt and mb_comb_file_ab5.txt) go to ") +
           (outputFolder.empty() ? "the working directory" : "the folder chosen") + ":\n" +
           (error ? outputFolder.string() : shown.string()) +
           "\nquillstep-cli writes them to the folder chosen with --output-dir.";
}

std::string aboutGuaranteeText() {
    return "A system's four- or five-hit guarantee holds only when the drawn combination is one of the stored "
           "combinations. \"Check a system...\" shows how a system does on every other draw.";
}

WindowTemplate aboutWindowTemplate(const std::filesystem::path& outputFolder) {
    WindowTemplate window;
    window.title = ABOUT_WINDOW_TITLE;
    window.x = 140;
    window.y = 90;
    window.width = WIDTH;
    window.height = 164;
    window.style = AUXILIARY_WINDOW_STYLE;
    window.iconResource = PROGRAM_ICON_RESOURCE;
    window.fonts = {{12, true, false, DEFAULT_CHARACTER_SET}};
    window.controls = {
        {ABOUT_VERSION_LABEL, ControlKind::Label, aboutVersionText(), TEXT_X, 8, TEXT_WIDTH, 16, HEADING_FONT},
        {ABOUT_PURPOSE_LABEL, ControlKind::Label, aboutPurposeText(), TEXT_X, 30, TEXT_WIDTH, 26, DIALOG_FONT},
        // Room for a path that wraps onto a second line.
        {ABOUT_FILES_LABEL, ControlKind::Label, aboutFilesText(outputFolder), TEXT_X, 62, TEXT_WIDTH, 42, DIALOG_FONT},
        {ABOUT_GUARANTEE_LABEL, ControlKind::Label, aboutGuaranteeText(), TEXT_X, 110, TEXT_WIDTH, 18, DIALOG_FONT},
        {ABOUT_OK_BUTTON, ControlKind::Button, "OK", WIDTH - 80, 138, 70, 18, DIALOG_FONT},
    };
    return window;
}

void showAboutWindow(Platform& platform, const std::filesystem::path& outputFolder) {
    WindowHandler handler;
    handler.onCommand = [](int controlId) {
        const bool closes = controlId == ABOUT_OK_BUTTON || controlId == ENTER_COMMAND || controlId == ESCAPE_COMMAND;
        return closes ? WindowAction::Close : WindowAction::Continue;
    };
    platform.enableMainWindow(false);
    platform.runModalWindow(aboutWindowTemplate(outputFolder), handler);
    platform.enableMainWindow(true);
}

}  // namespace quillstep

#pragma once
// "About Quillstep...", an entry of the main window's system menu: the version, what the program
// does, where its files go and when a system's guarantee holds, in a window of its own.

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "platform/window.h"

namespace quillstep {

constexpr const char* ABOUT_WINDOW_TITLE = "About Quillstep";
constexpr int ABOUT_VERSION_LABEL = 2170;
constexpr int ABOUT_PURPOSE_LABEL = 2171;
constexpr int ABOUT_FILES_LABEL = 2172;
constexpr int ABOUT_GUARANTEE_LABEL = 2173;
constexpr int ABOUT_OK_BUTTON = 2174;

// "Quillstep 1.0.0", from the one version of CMakeLists.txt.
std::string aboutVersionText();
// What the program does, in three lines.
std::string aboutPurposeText();
// Where the files go: `outputFolder` (SharedState::outputFolder), shown as a full path; when it is
// empty, the working directory, which is then named as such.
std::string aboutFilesText(const std::filesystem::path& outputFolder);
// When the four- or five-hit guarantee of a system holds.
std::string aboutGuaranteeText();

WindowTemplate aboutWindowTemplate(const std::filesystem::path& outputFolder);

// Shows the window modally, the main window disabled meanwhile, until OK (or Enter, Escape).
void showAboutWindow(Platform& platform, const std::filesystem::path& outputFolder);

}  // namespace quillstep

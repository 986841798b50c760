#pragma once
// The main window's viewer buttons: a file opened in the word processor, or in the system's
// default program for text files.

#include <string>

#include "platform/platform.h"

namespace quillstep {

constexpr const char* EDITOR_PATH = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe";

// The viewer's command line: the word processor's path and the file name, each in double quotes,
// so that the path with its blanks is never taken for "C:\Program" with arguments.
std::string editorCommandLine(const std::string& fileName);

// Opens the file in the word processor and waits until it is closed; falls back to the system's
// default program for text files, and says so when neither can be started.
void viewFile(Platform& platform, const std::string& fileName);

}  // namespace quillstep

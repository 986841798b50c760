#pragma once
// The headless platform as the command line uses it: the window's messages and the search
// progress go to stderr, and only the latest of every record is kept, so that a long command
// line runs in constant memory.

#include <chrono>
#include <string>

#include "platform/headless/headless_platform.h"

namespace quillstep {

class CliPlatform : public HeadlessPlatform {
public:
    bool showProgress = false;

    CliPlatform() { keepHistory = false; }

    void setControlText(int controlId, const std::string& text) override;
    void showMessage(const std::string& text) override;

private:
    std::chrono::steady_clock::time_point lastProgress_{};
};

}  // namespace quillstep

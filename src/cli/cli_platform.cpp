#include "cli/cli_platform.h"

#include <iostream>

#include "commands/control_ids.h"

namespace quillstep {

void CliPlatform::setControlText(int controlId, const std::string& text) {
    HeadlessPlatform::setControlText(controlId, text);
    if (!showProgress || controlId != COUNT_LABEL) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ < std::chrono::milliseconds(300)) return;
    lastProgress_ = now;
    std::cerr << "progress:" << text << std::endl;
}

void CliPlatform::showMessage(const std::string& text) {
    HeadlessPlatform::showMessage(text);
    std::cerr << "message: " << text << std::endl;
}

}  // namespace quillstep

#include "cli/cli_platform.h"

#include <chrono>
#include <iostream>

#include "commands/control_ids.h"

namespace quillstep {

void CliPlatform::setControlText(int controlId, const std::string& text) {
    HeadlessPlatform::setControlText(controlId, text);
    if (progress && controlId == COUNT_LABEL) progress->onCountLabel(text, std::chrono::steady_clock::now());
}

void CliPlatform::showMessage(const std::string& text) {
    HeadlessPlatform::showMessage(text);
    if (progress) progress->endLine();
    std::cerr << "message: " << text << std::endl;
}

}  // namespace quillstep

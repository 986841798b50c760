#include "cli/cli_platform.h"

#include <iostream>

namespace quillstep {

void CliPlatform::showMessage(const std::string& text) {
    HeadlessPlatform::showMessage(text);
    if (progress) progress->endLine();
    std::cerr << "message: " << text << std::endl;
}

}  // namespace quillstep

#pragma once
// The headless platform as the command line uses it: the window's messages go to stderr (ending
// a search's progress line first), and only the latest of every record is kept, so that a long
// command line runs in constant memory.

#include <optional>
#include <string>

#include "cli/search_progress.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {

class CliPlatform : public HeadlessPlatform {
public:
    std::optional<SearchProgress> progress;  // while a search runs

    CliPlatform() { keepHistory = false; }

    void showMessage(const std::string& text) override;
};

}  // namespace quillstep

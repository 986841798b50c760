// quillstep-cli: the same core and the same state as the window, for scripts and machines without
// a display. Its output lines are a contract: see CLI_HELP_TEXT.

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/optimise_commands.h"
#include "cli/options.h"
#include "cli/system_command_options.h"
#include "commands/combination_file.h"
#include "commands/control_ids.h"
#include "commands/generation_command.h"
#include "commands/number_text.h"
#include "commands/store_commands.h"
#include "platform/headless/headless_platform.h"
#include "wheels/abbreviated_system.h"
#include "windows/statistics_window.h"

namespace quillstep {
namespace {

std::atomic<bool> stopRequested{false};

extern "C" void onInterrupt(int) { stopRequested = true; }

// The headless platform, with the window's messages and the search progress on stderr.
class CliPlatform : public HeadlessPlatform {
public:
    bool showProgress = false;

    void setControlText(int controlId, const std::string& text) override {
        HeadlessPlatform::setControlText(controlId, text);
        if (!showProgress || controlId != COUNT_LABEL) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastProgress_ < std::chrono::milliseconds(300)) return;
        lastProgress_ = now;
        std::cerr << "progress:" << text << std::endl;
    }
    void showMessage(const std::string& text) override {
        HeadlessPlatform::showMessage(text);
        std::cerr << "message: " << text << std::endl;
    }

private:
    std::chrono::steady_clock::time_point lastProgress_{};
};

std::string secondsText(double seconds, const char* mask) { return maskedNumberText(seconds, mask); }

bool storeCommandsEnabled(const CliPlatform& platform, int button) { return platform.isEnabled(button); }

int runSearch(SharedState& state, CliPlatform& platform, int hits) {
    stopRequested = false;
    platform.stopRequest = [] { return stopRequested.load(); };
    platform.showProgress = true;
    auto previous = std::signal(SIGINT, onInterrupt);
    const SearchOutcome outcome = searchAbbreviatedSystem(state, platform, hits);
    std::signal(SIGINT, previous);
    platform.showProgress = false;

    if (!outcome.searched) {
        std::cout << "not written: " << (platform.messages.empty() ? "nothing stored" : platform.messages.back())
                  << std::endl;
        return 0;
    }
    std::cout << "best start: " << outcome.bestStart << "\nsystem size: " << outcome.systemSize << std::endl;
    if (outcome.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) {
        std::cout << "not written: Not usefull! Try something else" << std::endl;
        return 0;
    }
    if (!outcome.file.written) {
        std::cerr << "quillstep-cli: " << outcome.file.fileName << " not written: " << outcome.file.error << std::endl;
        return 1;
    }
    std::cout << "file: " << outcome.file.fileName << " rows: " << outcome.file.rows
              << " seconds: " << secondsText(outcome.file.seconds, "###.###############") << std::endl;
    return 0;
}

int runCommands(const CliOptions& options) {
    auto state = createSharedState();
    if (!state) {
        std::cerr << "quillstep-cli: " << STORE_ALLOCATION_FAILED_MESSAGE << std::endl;
        return 1;
    }
    state->parameters = options.parameters;
    CliPlatform platform;
    disableStoreCommands(platform);  // as when the window opens: nothing stored yet

    for (const CliCommand& command : options.commands) {
        const int button = command.name == "write"     ? WRITE_COMBINATIONS_BUTTON
                           : command.name == "search4" ? SEARCH_G4_BUTTON
                           : command.name == "search5" ? SEARCH_G5_BUTTON
                           : isOptimiseCommand(command.name) || isCheckCommand(command.name) ? SEARCH_G4_BUTTON
                           : command.name == "stats"   ? STATISTICS_BUTTON
                                                       : 0;
        if (button != 0 && !storeCommandsEnabled(platform, button)) {
            std::cerr << "quillstep-cli: " << command.name
                      << " is refused: the last run did not store its combinations (use run with a storing mode: "
                         "2, 4, 6, 8 to 14)"
                      << std::endl;
            return 2;
        }
        if (command.name == "run") {
            // The time label carries the mode's suffix; the contract line holds the number alone.
            const double seconds = runGenerationCommand(*state, platform, command.mode);
            std::cout << "combinations: " << state->generatedCount
                      << "\nseconds: " << secondsText(seconds, "#.###############")
                      << "\ndescription: " << state->memoryDescription << std::endl;
        } else if (command.name == "write") {
            const FileWriteResult result = writeCombinationFile(*state, platform);
            if (!result.written) {
                std::cerr << "quillstep-cli: " << result.fileName << " not written: " << result.error << std::endl;
                return 1;
            }
            std::cout << "file: " << result.fileName << " rows: " << result.rows
                      << " seconds: " << secondsText(result.seconds, "###.###############") << std::endl;
        } else if (command.name == "search4" || command.name == "search5") {
            if (const int status = runSearch(*state, platform, command.name == "search4" ? 4 : 5); status != 0)
                return status;
        } else if (isOptimiseCommand(command.name)) {
            if (const int status = runOptimiseCommand(*state, platform, command, std::cout); status != 0) return status;
        } else if (isCheckCommand(command.name)) {
            if (const int status = runCheckCommand(*state, command, std::cout); status != 0) return status;
        } else if (command.name == "stats") {
            showNumberStatistics(*state, platform);
            std::cout << state->countingMessage << '\n';
            for (int v = 1; v <= 39; ++v) {
                const int32_t count = state->numberStatistics[v];
                std::cout << v << ": " << (count > 0 ? maskedNumberText(count, "##########") : std::string()) << '\n';
            }
            std::cout.flush();
        }
    }
    return 0;
}

}  // namespace
}  // namespace quillstep

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto options = quillstep::parseCommandLine(arguments, error);
    if (!options) {
        std::cerr << "quillstep-cli: " << error << std::endl;
        return 2;
    }
    if (options->help) {
        std::cout << quillstep::CLI_HELP_TEXT;
        return 0;
    }
    return quillstep::runCommands(*options);
}

// quillstep-cli: the same core and the same state as the window, for scripts and machines without
// a display. Its output lines are a contract: see CLI_HELP_TEXT. The commands are the rows of
// cli_commands.cpp; the whole line is parsed and checked before the first of them runs.

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/standard_streams.h"

int main(int argc, char** argv) {
    quillstep::useSameLineEndsEverywhere();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto options = quillstep::parseCommandLine(arguments, error);
    if (!options) {
        std::cerr << "quillstep-cli: " << error << std::endl;
        return quillstep::exitStatusOf(quillstep::FaultKind::Refused);
    }
    if (options->help || options->version) {
        if (!(std::cout << (options->help ? quillstep::CLI_HELP_TEXT : quillstep::CLI_VERSION_LINE) << std::flush)) {
            std::cerr << "quillstep-cli: the standard output could not be written" << std::endl;
            return quillstep::exitStatusOf(quillstep::FaultKind::Fault);
        }
        return 0;
    }
    return quillstep::runCommandLine(*options, std::cout);
}

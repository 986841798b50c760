#include "cli/cli_commands.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/abbreviated_system_buttons.h"
#include "cli/draws_commands.h"
#include "cli/interrupts.h"
#include "cli/suggestions.h"
#include "cli/optimise_commands.h"
#include "cli/output_folder.h"
#include "cli/system_file_commands.h"
#include "cli/wheel_commands.h"
#include "commands/combination_file.h"
#include "commands/generation_command.h"
#include "commands/number_text.h"
#include "commands/store_commands.h"
#include "commands/wheel_file_writer.h"
#include "commands/system_file_reader.h"
#include "engine/run.h"
#include "windows/file_reports.h"
#include "windows/statistics_window.h"

namespace quillstep {
namespace {

std::string secondsText(double seconds, const char* mask) { return maskedNumberText(seconds, mask); }

// The contract line of a written file, or its "not written:" line and exit status 1; both on
// stdout, as every command that writes a file answers (the message box's echo is on stderr).
int reportFile(CliSession& session, const FileWriteResult& result) {
    if (!result.written) {
        session.out << "not written: " << result.error << std::endl;
        return 1;
    }
    session.out << "file: " << result.fileName << " rows: " << result.rows
                << " seconds: " << secondsText(result.seconds, "###.###############") << std::endl;
    return 0;
}

int runGeneration(CliSession& session, const CliCommand& command) {
    // The time label carries the mode's suffix; the contract line holds the number alone.
    const double seconds = runGenerationCommand(session.state, session.platform, command.mode);
    session.out << "combinations: " << session.state.generatedCount
                << "\nseconds: " << secondsText(seconds, "#.###############")
                << "\ndescription: " << session.state.memoryDescription << std::endl;
    return 0;
}

// SIGINT or SIGTERM during the write give it up: the temporary file goes, the previous file
// stays, and the process ends with 130 or 143. A signal that comes once the new file has taken
// the old one's place finds the write done: its file line follows and the status is 0.
int writeCombinations(CliSession& session, const CliCommand&) {
    const WriteInterrupts interrupts;
    const FileWriteResult result = writeCombinationFile(session.state, session.platform);
    if (const int signal = interrupts.signal(); signal != 0) {
        std::cerr << interruptedWriteLine(result, signal) << std::endl;
        if (!result.written) {
            session.out << "not written: " << interruptedReason(signal) << std::endl;
            return interruptedExitCode(signal);
        }
    }
    return reportFile(session, result);
}

// Ctrl+C stops the search between starting combinations; it keeps the best system found so far.
int search(CliSession& session, int hits, const std::filesystem::path& output) {
    CliPlatform& platform = session.platform;
    platform.stopRequest = [] { return StopOnInterrupt::requested(); };
    platform.progress.emplace(std::cerr, standardErrorIsTerminal());
    const int32_t stored = session.state.generatedCount;
    const SearchOutcome outcome = [&] {
        const StopOnInterrupt ctrlC;
        return searchAbbreviatedSystem(session.state, platform, hits, [&platform](int32_t checked, int32_t all) {
            platform.progress->onStartsChecked({checked, all}, SearchProgress::Clock::now());
        }, output);
    }();
    platform.progress->endLine();
    platform.progress.reset();
    platform.stopRequest = nullptr;

    if (outcome.refusal == SearchRefusal::OutOfMemory) {
        // A fault like any failed write: the previous file stays, the commands after it do not run.
        session.out << "not written: not enough memory for the search among " << stored << " stored combinations"
                    << std::endl;
        return 1;
    }
    if (!outcome.searched) {
        session.out << "not written: " << searchRefusalMessage(outcome.refusal) << std::endl;
        return 0;
    }
    if (outcome.stopped) session.out << "stopped after: " << outcome.startsChecked << " of " << stored << '\n';
    session.out << "best start: " << outcome.bestStart << "\nsystem size: " << outcome.systemSize << std::endl;
    if (outcome.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) {
        session.out << "not written: Not usefull! Try something else" << std::endl;
        return 0;
    }
    return reportFile(session, outcome.file);
}

int searchG4(CliSession& session, const CliCommand& command) { return search(session, 4, command.output); }
int searchG5(CliSession& session, const CliCommand& command) { return search(session, 5, command.output); }

// The counts and the counting message of the statistics window, without the window.
int showStatistics(CliSession& session, const CliCommand&) {
    SharedState& state = session.state;
    for (int n = 1; n <= HIGHEST_NUMBER; ++n) state.numberStatistics[n] = 0;
    const double t0 = session.platform.timeOfDaySeconds();
    countNumberOccurrences(state);
    const double t1 = session.platform.timeOfDaySeconds();
    session.out << countingMessageText(state.generatedCount, elapsedSeconds(t0, t1)) << '\n';
    for (int v = 1; v <= HIGHEST_NUMBER; ++v) {
        const int32_t count = session.state.numberStatistics[v];
        session.out << v << ": " << (count > 0 ? maskedNumberText(count, "##########") : std::string()) << '\n';
    }
    session.out.flush();
    return 0;
}

int optimise(CliSession& session, const CliCommand& command) {
    return runOptimiseCommand(session.state, session.platform, command, session.out);
}
int checkSystemFile(CliSession& session, const CliCommand& command) {
    return runCheckCommand(session.state, command, session.out);
}
int profileSystemFile(CliSession& session, const CliCommand& command) {
    return runProfileCommand(session.state, command, session.out);
}
int matchDrawInFile(CliSession& session, const CliCommand& command) { return runMatchCommand(command, session.out); }
int checkWheelFile(CliSession& session, const CliCommand& command) { return runCheckWheelCommand(command, session.out); }
int makeWheel(CliSession& session, const CliCommand& command) {
    return runWheelCommand(command, session.state.outputFolder, session.out);
}
int completeSystemFile(CliSession& session, const CliCommand& command) {
    return runCompleteCommand(session.state, session.platform, command, session.out);
}

int showHistory(CliSession& session, const CliCommand& command) { return runHistoryCommand(command, session.out); }
int backtestFiltersOverHistory(CliSession& session, const CliCommand& command) {
    return runBacktestCommand(session.state.parameters, command, session.out);
}
int showWins(CliSession& session, const CliCommand& command) { return runWinsCommand(command, session.out); }

constexpr std::array<CliCommandRow, 18> CLI_COMMANDS{{
    {"run", CommandArgument::Mode, false, nullptr, runGeneration},
    {"write", CommandArgument::None, true, COMBINATION_FILE_NAME, writeCombinations},
    {"search4", CommandArgument::SystemOptions, true, G4_SYSTEM_FILE_NAME, searchG4},
    {"search5", CommandArgument::SystemOptions, true, G5_SYSTEM_FILE_NAME, searchG5},
    {"optimise4", CommandArgument::SystemOptions, true, G4_SYSTEM_FILE_NAME, optimise},
    {"optimise5", CommandArgument::SystemOptions, true, G5_SYSTEM_FILE_NAME, optimise},
    {"check4", CommandArgument::SystemOptions, true, nullptr, checkSystemFile},
    {"check5", CommandArgument::SystemOptions, true, nullptr, checkSystemFile},
    {"stats", CommandArgument::None, true, nullptr, showStatistics},
    {"profile", CommandArgument::SystemOptions, false, nullptr, profileSystemFile},
    {"match", CommandArgument::SystemOptions, false, nullptr, matchDrawInFile},
    {"complete4", CommandArgument::SystemOptions, true, G4_SYSTEM_FILE_NAME, completeSystemFile},
    {"complete5", CommandArgument::SystemOptions, true, G5_SYSTEM_FILE_NAME, completeSystemFile},
    {"history", CommandArgument::PastDraws, false, nullptr, showHistory},
    {"backtest", CommandArgument::PastDraws, false, nullptr, backtestFiltersOverHistory},
    {"wins", CommandArgument::PastDraws, false, nullptr, showWins},
    {"checkwheel", CommandArgument::SystemOptions, false, nullptr, checkWheelFile},
    {"wheel", CommandArgument::SystemOptions, false, WHEEL_FILE_NAME, makeWheel},
}};

}  // namespace

namespace {

// Other spellings of a command's words: "optimize4" is optimise4.
constexpr std::pair<std::string_view, std::string_view> OTHER_SPELLINGS[] = {{"optimize", "optimise"}};

std::string usualSpelling(std::string_view name) {
    std::string usual(name);
    for (const auto& [other, usualWord] : OTHER_SPELLINGS)
        if (const size_t at = usual.find(other); at != std::string::npos) usual.replace(at, other.size(), usualWord);
    return usual;
}

}  // namespace

const CliCommandRow* findCliCommand(std::string_view name) {
    const std::string usual = usualSpelling(name);
    const auto row = std::find_if(CLI_COMMANDS.begin(), CLI_COMMANDS.end(),
                                  [&](const CliCommandRow& r) { return usual == r.name; });
    return row == CLI_COMMANDS.end() ? nullptr : &*row;
}

std::vector<std::string> closestCliCommands(std::string_view typed) {
    // Matched against both spellings, so that "optimze4" is near too; named in the usual one.
    std::vector<std::string> candidates;
    for (const CliCommandRow& row : CLI_COMMANDS) {
        candidates.emplace_back(row.name);
        for (const auto& [other, usualWord] : OTHER_SPELLINGS)
            if (const std::string name = row.name; name.find(usualWord) != std::string::npos)
                candidates.push_back(std::string(name).replace(name.find(usualWord), usualWord.size(), other));
    }
    std::vector<std::string> closest;
    for (const std::string& name : closestNames(typed, candidates)) {
        const std::string usual = findCliCommand(name)->name;
        if (std::find(closest.begin(), closest.end(), usual) == closest.end()) closest.push_back(usual);
    }
    return closest;
}

namespace {

// Whether `file` names the file an earlier command of the line writes (the same path once both
// are made absolute), which need not exist before the line runs.
bool writtenEarlier(const CliOptions& options, const CliCommand& check, const std::filesystem::path& file) {
    std::error_code ec;
    const std::filesystem::path named = std::filesystem::weakly_canonical(file, ec);
    for (const CliCommand& command : options.commands) {
        if (&command == &check) break;
        if (!command.row->fileWritten) continue;
        const std::filesystem::path written = std::filesystem::weakly_canonical(
            command.output.empty() ? options.outputFolder / command.row->fileWritten : command.output, ec);
        if (!ec && named == written) return true;
    }
    return false;
}

// What keeps the line from running at all: an output folder that cannot receive the files, or a
// file to check that cannot be opened (unless an earlier command writes it). Its content is read
// only when its command runs.
std::optional<std::string> findLineProblem(const CliOptions& options) {
    if (const auto problem = findOutputFolderProblem(options.outputFolder)) return problem;
    const bool writes = std::any_of(options.commands.begin(), options.commands.end(),
                                    [](const CliCommand& c) { return c.row->fileWritten != nullptr; });
    if (writes && options.outputFolder.empty())
        if (const auto problem = findWorkingFolderProblem()) return problem;
    for (const CliCommand& command : options.commands)
        if (const auto problem = findOutputFileProblem(command.output)) return command.name + ": " + *problem;
    for (const CliCommand& command : options.commands) {
        if (command.fileName.empty() || writtenEarlier(options, command, command.fileName)) continue;
        if (const std::string problem = systemFileOpenProblem(command.fileName); !problem.empty())
            return command.name + ": " + problem;
    }
    for (const CliCommand& command : options.commands)
        if (!command.historyFileName.empty())
            if (const std::string problem = systemFileOpenProblem(command.historyFileName); !problem.empty())
                return command.name + ": " + problem;
    return std::nullopt;
}

}  // namespace

int runCommandLine(const CliOptions& options, std::ostream& out) {
    if (const auto problem = findLineProblem(options)) {
        std::cerr << "quillstep-cli: " << *problem << std::endl;
        return 2;
    }
    auto state = createSharedState();
    if (!state) {
        std::cerr << "quillstep-cli: " << STORE_ALLOCATION_FAILED_MESSAGE << std::endl;
        return 1;
    }
    state->parameters = options.parameters;
    state->outputFolder = options.outputFolder;
    CliPlatform platform;
    disableStoreCommands(platform);  // as when the window opens: nothing stored yet
    CliSession session{*state, platform, out};

    for (const CliCommand& command : options.commands) {
        if (const int status = command.row->run(session, command); status != 0) return status;
        if (!out.flush()) {
            std::cerr << "quillstep-cli: the standard output could not be written" << std::endl;
            return 1;
        }
    }
    return 0;
}

}  // namespace quillstep

#include "cli/cli_commands.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/draws_commands.h"
#include "cli/exit_status.h"
#include "cli/interrupts.h"
#include "cli/suggestions.h"
#include "cli/optimise_commands.h"
#include "cli/output_folder.h"
#include "cli/system_file_commands.h"
#include "cli/wheel_commands.h"
#include "files/combination_file.h"
#include "files/number_text.h"
#include "files/system_file_reader.h"
#include "files/wheel_file_writer.h"
#include "engine/run.h"
#include "texts/search_texts.h"
#include "texts/statistics_texts.h"
#include "usecases/abbreviated_search.h"
#include "usecases/generation_run.h"

namespace quillstep {
namespace {

std::string secondsText(double seconds, const char* mask) { return maskedNumberText(seconds, mask); }

int runGeneration(CliSession& session, const CliCommand& command) {
    CliRunHost host(session.clock);
    const GenerationResult result = runGenerationMode(session.state, host, command.mode);
    session.out << "combinations: " << result.count
                << "\nseconds: " << secondsText(result.seconds, "#.###############")
                << "\ndescription: " << session.state.memoryDescription << std::endl;
    return 0;
}

// SIGINT or SIGTERM during the write give it up: the temporary file goes, the previous file
// stays, and the process ends with 130 or 143. A signal that comes once the new file has taken
// the old one's place finds the write done: its file line follows and the status is 0.
int writeCombinations(CliSession& session, const CliCommand&) {
    const WriteInterrupts interrupts;
    const FileWriteResult result = writeCombinationRows(session.state, session.writeObserver());
    if (const int signal = interrupts.signal(); signal != 0) {
        std::cerr << interruptedWriteLine(result, signal) << std::endl;
        if (!result.written) {
            session.out << "not written: " << interruptedReason(signal) << std::endl;
            return interruptedExitCode(signal);
        }
    }
    return reportWrite(session.out, writtenFileFault(result), result);
}

// Ctrl+C stops the search between starting combinations; it keeps the best system found so far.
int search(CliSession& session, int hits, const std::filesystem::path& output) {
    session.progress.emplace(std::cerr, standardErrorIsTerminal());
    const int32_t stored = session.state.generatedCount;
    SearchObserver observer;
    observer.onProgress = [&session](int32_t checked, int32_t all) {
        session.progress->onStartsChecked({checked, all}, SearchProgress::Clock::now());
        if (session.afterSearchProgress) session.afterSearchProgress(checked, all);
    };
    observer.stopRequested = [] { return StopOnInterrupt::requested(); };
    observer.onSearched = [&session, hits](const SearchOutcome& found) {
        for (const std::string& message : searchFoundMessages(found, hits)) session.echoMessage(message);
    };
    observer.write = session.writeObserver();
    const SearchOutcome outcome = [&] {
        const StopOnInterrupt ctrlC;
        return searchAndWriteSystem(session.state, {hits, output}, observer);
    }();
    if (!outcome.searched) session.echoMessage(searchRefusalMessage(outcome.fault));
    else if (const std::string message = searchFileFaultMessage(outcome); !message.empty()) session.echoMessage(message);
    session.progress->endLine();
    session.progress.reset();

    // Too little memory is a fault like any failed write: the previous file stays, the commands
    // after it do not run; nothing stored is an answer, as is a system too large to be useful.
    if (outcome.searched) {
        if (outcome.stopped) session.out << "stopped after: " << outcome.startsChecked << " of " << stored << '\n';
        session.out << "best start: " << outcome.bestStart << "\nsystem size: " << outcome.systemSize << std::endl;
    }
    return reportWrite(session.out, outcome.fault, outcome.file, "the system found");
}

int searchG4(CliSession& session, const CliCommand& command) { return search(session, 4, command.output); }
int searchG5(CliSession& session, const CliCommand& command) { return search(session, 5, command.output); }

// The counts and the counting message of the statistics window, without the window.
int showStatistics(CliSession& session, const CliCommand&) {
    SharedState& state = session.state;
    for (int n = 1; n <= HIGHEST_NUMBER; ++n) state.numberStatistics[n] = 0;
    const double t0 = session.clock();
    countNumberOccurrences(state);
    const double t1 = session.clock();
    session.out << countingMessageText(state.generatedCount, elapsedSeconds(t0, t1)) << '\n';
    for (int v = 1; v <= HIGHEST_NUMBER; ++v) {
        const int32_t count = session.state.numberStatistics[v];
        session.out << v << ": " << (count > 0 ? maskedNumberText(count, "##########") : std::string()) << '\n';
    }
    session.out.flush();
    return 0;
}

int optimise(CliSession& session, const CliCommand& command) {
    return runOptimiseCommand(session, command);
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
    return runCompleteCommand(session, command);
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
        return exitStatusOf(FaultKind::Refused);
    }
    auto state = createSharedState();
    if (!state) {
        std::cerr << "quillstep-cli: " << STORE_ALLOCATION_FAILED_MESSAGE << std::endl;
        return exitStatusOf(FaultKind::Fault);
    }
    state->parameters = options.parameters;
    state->outputFolder = options.outputFolder;
    CliSession session{*state, out};

    for (const CliCommand& command : options.commands) {
        if (const int status = command.row->run(session, command); status != 0) return status;
        if (!out.flush()) {
            std::cerr << "quillstep-cli: the standard output could not be written" << std::endl;
            return exitStatusOf(FaultKind::Fault);
        }
    }
    return 0;
}

}  // namespace quillstep

#include "cli/optimise_commands.h"

#include <iostream>
#include <new>
#include <sstream>

#include "cli/exit_status.h"
#include "cli/interrupts.h"
#include "cli/system_file_commands.h"
#include "files/escaped_text.h"
#include "files/number_text.h"
#include "files/system_file_reader.h"
#include "usecases/optimise_command.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/check/independent_system_check.h"
#include "texts/file_texts.h"
#include "texts/smaller_systems_texts.h"

namespace quillstep {
namespace {

constexpr size_t HOLES_SHOWN = 10;

int guaranteeOf(const std::string& commandName) { return commandName.back() == '5' ? 5 : 4; }

std::string combinationText(const int32_t* numbers) {
    std::string text;
    for (int k = 0; k < NUMBERS_PER_COMBINATION; ++k) {
        if (k > 0) text += ',';
        text += std::to_string(numbers[k]);
    }
    return text;
}


int checkSystemFile(const SharedState& state, const CliCommand& command, std::ostream& out) {
    std::vector<uint64_t> system;
    if (!readSystemFileLines(command, system)) return exitStatusOf(FaultKind::Refused);
    const std::vector<uint64_t> stored = combinationMasks(state);

    SystemCheckOptions options;
    options.holesKept = HOLES_SHOWN;
    const SystemCheck check =
        checkSystem(storedCoverRequest(stored, guaranteeOf(command.name), HIGHEST_NUMBER), system, options);

    // The share first, so that the lines of the check proper stay the last ones before the holes.
    out << storedShareLine(check.storedCount, state.parameters.totalNumbers) << '\n';
    out << "stored: " << check.storedCount << "\nsystem size: " << check.systemSize
              << "\nuncovered: " << check.uncovered << "\nbest match:";
    for (int k = 7; k >= 0; --k) out << ' ' << k << '=' << check.bestMatchCounts[static_cast<size_t>(k)];
    out << '\n';
    for (int64_t hole : check.holes) out << "hole: " << combinationText(state.storedCombination(hole)) << '\n';
    out.flush();
    return exitStatusOf(check.uncovered == 0 ? FaultKind::None : FaultKind::Uncovered);
}

}  // namespace

void printCoverProgress(const char* what, const CoverProgress& progress) {
    std::ostringstream line;
    line.setf(std::ios::fixed);
    line.precision(1);
    line << "progress: " << what << ' ';
    if (progress.bestSize > 0) line << progress.bestSize;
    else line << "none yet";
    line << ", elapsed " << progress.elapsedSeconds << " s, remaining " << progress.remainingSeconds << " s";
    std::cerr << line.str() << std::endl;
}

SystemSearchSettings systemSearchSettings(const CliCommand& command) {
    SystemSearchSettings settings;
    settings.guaranteedHits = guaranteeOf(command.name);
    settings.timeLimitSeconds = command.timeLimitSeconds;
    settings.seed = command.seed;
    settings.stepBudget = command.stepBudget;
    settings.output = command.output;
    return settings;
}

SystemSearchObserver systemSearchObserver(CliSession& session, const char* progressWhat) {
    SystemSearchObserver observer;
    observer.onProgress = [progressWhat](const CoverProgress& p) { printCoverProgress(progressWhat, p); };
    observer.stopRequested = [] { return StopOnInterrupt::requested(); };
    observer.write = session.writeObserver();
    return observer;
}

int runOptimiseCommand(CliSession& session, const CliCommand& command) {
    std::ostream& out = session.out;
    OptimiseSettings settings;
    static_cast<SystemSearchSettings&>(settings) = systemSearchSettings(command);
    settings.anyCombination = command.anyCombination;
    const OptimiseOutcome outcome = [&] {
        const StopOnInterrupt ctrlC;
        return optimiseStoredSystem(session.state, settings, systemSearchObserver(session, "best size"));
    }();

    if (outcome.stopped) std::cerr << "stopped: the best system found so far follows" << std::endl;
    if (outcome.verified || outcome.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) out << "system size: " << outcome.systemSize << std::endl;
    // Nothing stored and a system too large for the file are answers, as with the greedy search;
    // no system in the time given (or before Ctrl+C) has a status of its own; a failed check or
    // write is a fault.
    return reportWrite(out, outcome.fault, outcome.systemFile.file, "the optimiser's system");
}

int runCheckCommand(const SharedState& state, const CliCommand& command, std::ostream& out) {
    try {
        return checkSystemFile(state, command, out);
    } catch (const std::bad_alloc&) {
        std::cerr << "quillstep-cli: " << command.name << ": not enough memory to check " << escapedText(command.fileName)
                  << " against " << state.generatedCount << " stored combinations" << std::endl;
        return exitStatusOf(FaultKind::Fault);
    }
}

}  // namespace quillstep

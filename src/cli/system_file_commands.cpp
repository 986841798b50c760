#include "cli/system_file_commands.h"

#include <iostream>
#include <new>
#include <sstream>

#include "cli/exit_status.h"
#include "cli/interrupts.h"
#include "cli/optimise_commands.h"
#include "files/escaped_text.h"
#include "files/number_text.h"
#include "usecases/system_completion.h"
#include "usecases/system_examination.h"
#include "texts/check_system_texts.h"
#include "texts/file_texts.h"

namespace quillstep {
namespace {

constexpr int PROFILED_HITS[] = {3, 4, 5};

int profile(const SharedState& state, const CliCommand& command, std::ostream& out) {
    std::vector<uint64_t> lines;
    if (!readSystemFileLines(command, lines)) return exitStatusOf(FaultKind::Refused);
    const DrawProfile profile =
        profileAllDraws(lines.data(), static_cast<int64_t>(lines.size()), state.parameters.totalNumbers);
    out << "draws: " << profile.draws << "\nbest match: " << hitCountsText(profile.bestMatchCounts) << '\n';
    for (const int hits : PROFILED_HITS)
        out << "at least " << hits << ": " << percentText(profile.drawsWithAtLeast(hits), profile.draws) << "%\n";
    out.flush();
    return 0;
}

}  // namespace

bool readSystemFileLines(const CliCommand& command, std::vector<uint64_t>& lines) {
    const SystemFileContents contents = readSystemFile(command.fileName);
    if (!contents.ok()) {
        std::cerr << "quillstep-cli: " << command.name << ": " << contents.error << std::endl;
        return false;
    }
    lines = systemMasks(contents);
    return true;
}

std::string storedShareLine(int64_t stored, int totalNumbers) {
    const int64_t draws = possibleDraws(totalNumbers);
    return "stored share: " + std::to_string(stored) + " of " + std::to_string(draws) + " draws (" +
           percentText(stored, draws) + "%)";
}

int runProfileCommand(const SharedState& state, const CliCommand& command, std::ostream& out) {
    try {
        return profile(state, command, out);
    } catch (const std::bad_alloc&) {
        std::cerr << "quillstep-cli: profile: not enough memory to profile " << escapedText(command.fileName) << std::endl;
        return exitStatusOf(FaultKind::Fault);
    }
}

int runMatchCommand(const CliCommand& command, std::ostream& out) {
    std::vector<uint64_t> lines;
    if (!readSystemFileLines(command, lines)) return exitStatusOf(FaultKind::Refused);
    const DrawMatch match = matchDraw(command.draw, lines.data(), static_cast<int64_t>(lines.size()));
    out << "hits: " << hitCountsText(match.linesByHits) << '\n';
    if (match.bestLine < 0)
        out << "best: 0 on no line (the file holds no combination)\n";
    else
        out << "best: " << match.bestHits << " on line " << match.bestLine + 1 << '\n';
    out.flush();
    return 0;
}

// Ctrl+C ends the search early; the system found so far is still checked and written. As every
// command that writes a file, it ends with its "file:" line or its "not written:" line on stdout.
int runCompleteCommand(CliSession& session, const CliCommand& command) {
    SharedState& state = session.state;
    std::ostream& out = session.out;
    const SystemFileContents contents = readSystemFile(command.fileName);
    if (!contents.ok()) return reportWrite(out, {FaultReason::SystemFileUnreadable, 0, 0, contents.error}, {});
    const std::vector<uint64_t> lines = systemMasks(contents);
    const CompletionOutcome outcome = [&] {
        const StopOnInterrupt ctrlC;
        return completeSystem(state, lines, systemSearchSettings(command), systemSearchObserver(session, "members added"));
    }();

    if (outcome.stopped) std::cerr << "stopped: the best completion found so far follows" << std::endl;
    // No system to write is the answer to this file and store (refused); a failed write or
    // read-back, or too little memory, is a fault, as for the other commands.
    if (outcome.completed())
        out << "kept: " << outcome.kept << "\nadded: " << outcome.added << "\nsystem size: " << outcome.systemSize()
            << '\n';
    return reportWrite(out, outcome.fault, outcome.systemFile.file, "the completed system");
}

}  // namespace quillstep

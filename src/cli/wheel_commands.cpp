#include "cli/wheel_commands.h"

#include <bit>
#include <iostream>
#include <new>

#include "cli/exit_status.h"
#include "cli/interrupts.h"
#include "cli/optimise_commands.h"
#include "files/escaped_text.h"
#include "files/number_text.h"
#include "files/system_file_reader.h"
#include "texts/wheel_making_texts.h"
#include "texts/wheel_request_texts.h"
#include "usecases/wheel_making.h"
#include "wheels/pool/wheel_check.h"

namespace quillstep {
namespace {

constexpr size_t HOLES_SHOWN = 10;

int checkWheelFile(const CliCommand& command, std::ostream& out) {
    const SystemFileContents contents = readSystemFile(command.fileName);
    if (!contents.ok()) {
        std::cerr << "quillstep-cli: " << command.name << ": " << contents.error << std::endl;
        return exitStatusOf(FaultKind::Refused);
    }
    std::vector<uint64_t> tickets;
    tickets.reserve(contents.combinations.size());
    for (const SystemFileCombination& combination : contents.combinations) tickets.push_back(combinationMask(combination));

    WheelCheckSettings settings;
    settings.holesKept = HOLES_SHOWN;
    const WheelCheck check = checkWheel(wheelCoverRequest(command.wheel), tickets, settings);
    if (check.requestFault.refused()) {
        std::cerr << "quillstep-cli: " << command.name << ": "
                  << wheelRefusalText(check.requestFault, COMMAND_LINE_WHEEL_FIELDS) << std::endl;
        return exitStatusOf(FaultKind::Refused);
    }
    if (!check.refusedTickets.empty()) {
        // The first refused ticket, by the line of the file that holds it.
        const RefusedTicket& ticket = check.refusedTickets.front();
        std::cerr << "quillstep-cli: " << command.name << ": " << escapedText(command.fileName) << ": line "
                  << contents.lines[static_cast<size_t>(ticket.index)] << " (" << numbersText(ticket.numbers)
                  << "): " << refusedTicketText(ticket) << std::endl;
        return exitStatusOf(FaultKind::Refused);
    }
    out << "pool: " << std::popcount(command.wheel.pool) << " numbers\nguarantee: " << command.wheel.hits << " if "
        << command.wheel.drawn << "\nsystem size: " << check.tickets << "\nuncovered: " << check.uncovered << '\n';
    for (const uint64_t hole : check.holes) out << "hole: " << numbersText(hole) << '\n';
    out.flush();
    return exitStatusOf(check.uncovered == 0 ? FaultKind::None : FaultKind::Uncovered);
}

std::string wheelGuaranteeLines(const WheelRequest& request) {
    return "pool: " + std::to_string(std::popcount(request.pool)) + " numbers\nguarantee: " +
           std::to_string(request.hits) + " if " + std::to_string(request.drawn) + '\n';
}

int makeWheelFile(const CliCommand& command, const std::filesystem::path& outputFolder, std::ostream& out) {
    WheelMaking making;
    making.request = wheelCoverRequest(command.wheel);
    making.request.timeLimitSeconds = command.timeLimitGiven ? command.timeLimitSeconds : WHEEL_DEFAULT_TIME_LIMIT_SECONDS;
    making.request.seed = command.seed;
    making.request.onProgress = [](const CoverProgress& progress) { printCoverProgress("best size", progress); };
    making.request.stopRequested = [] { return StopOnInterrupt::requested(); };
    making.target = command.output.empty() ? outputFolder / WHEEL_FILE_NAME : command.output;
    making.shownName = command.output.empty() ? std::string(WHEEL_FILE_NAME) : pathText(command.output);

    const WheelMade made = [&] {
        const StopOnInterrupt ctrlC;
        return makeWheel(making, WriteObserver{});
    }();
    if (made.search.stopped) std::cerr << "stopped: the best wheel found so far follows" << std::endl;
    out << wheelGuaranteeLines(command.wheel);
    if (made.search.found()) {
        out << "system size: " << made.search.tickets.size() << '\n';
        if (const std::string published = publishedWheelText(command.wheel); !published.empty()) out << published << '\n';
    }
    return reportWrite(out, made.fault(), made.file.file);
}

}  // namespace

int runWheelCommand(const CliCommand& command, const std::filesystem::path& outputFolder, std::ostream& out) {
    try {
        return makeWheelFile(command, outputFolder, out);
    } catch (const std::bad_alloc&) {
        return reportWrite(out, {FaultReason::WheelOutOfMemory}, {});
    }
}

int runCheckWheelCommand(const CliCommand& command, std::ostream& out) {
    try {
        return checkWheelFile(command, out);
    } catch (const std::bad_alloc&) {
        std::cerr << "quillstep-cli: " << command.name << ": not enough memory to check " << escapedText(command.fileName)
                  << std::endl;
        return exitStatusOf(FaultKind::Fault);
    }
}

}  // namespace quillstep

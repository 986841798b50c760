#include "cli/wheel_commands.h"

#include <bit>
#include <iostream>
#include <new>

#include "files/escaped_text.h"
#include "files/system_file_reader.h"
#include "wheels/pool/wheel_check.h"
#include "texts/wheel_request_texts.h"

namespace quillstep {
namespace {

constexpr size_t HOLES_SHOWN = 10;

int checkWheelFile(const CliCommand& command, std::ostream& out) {
    const SystemFileContents contents = readSystemFile(command.fileName);
    if (!contents.ok()) {
        std::cerr << "quillstep-cli: " << command.name << ": " << contents.error << std::endl;
        return 2;
    }
    std::vector<uint64_t> tickets;
    tickets.reserve(contents.combinations.size());
    for (const SystemFileCombination& combination : contents.combinations) tickets.push_back(combinationMask(combination));

    WheelCheckSettings settings;
    settings.holesKept = HOLES_SHOWN;
    const WheelCheck check = checkWheel(command.wheel, tickets, settings);
    if (check.requestFault.refused()) {
        std::cerr << "quillstep-cli: " << command.name << ": "
                  << wheelRefusalText(check.requestFault, COMMAND_LINE_WHEEL_FIELDS) << std::endl;
        return 2;
    }
    if (!check.refusedTickets.empty()) {
        // The first refused ticket, by the line of the file that holds it.
        const RefusedTicket& ticket = check.refusedTickets.front();
        std::cerr << "quillstep-cli: " << command.name << ": " << escapedText(command.fileName) << ": line "
                  << contents.lines[static_cast<size_t>(ticket.index)] << " (" << numbersText(ticket.numbers)
                  << "): " << refusedTicketText(ticket) << std::endl;
        return 2;
    }
    out << "pool: " << std::popcount(command.wheel.pool) << " numbers\nguarantee: " << command.wheel.hits << " if "
        << command.wheel.drawn << "\nsystem size: " << check.tickets << "\nuncovered: " << check.uncovered << '\n';
    for (const uint64_t hole : check.holes) out << "hole: " << numbersText(hole) << '\n';
    out.flush();
    return check.uncovered == 0 ? 0 : 3;
}

}  // namespace

int runCheckWheelCommand(const CliCommand& command, std::ostream& out) {
    try {
        return checkWheelFile(command, out);
    } catch (const std::bad_alloc&) {
        std::cerr << "quillstep-cli: " << command.name << ": not enough memory to check " << escapedText(command.fileName)
                  << std::endl;
        return 1;
    }
}

}  // namespace quillstep

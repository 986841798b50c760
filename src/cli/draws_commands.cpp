#include "cli/draws_commands.h"

#include <iostream>
#include <new>

#include "cli/echoed_text.h"
#include "cli/exit_status.h"
#include "usecases/system_examination.h"
#include "files/system_file_reader.h"
#include "draws/backtest.h"
#include "draws/history_reader.h"
#include "draws/number_statistics.h"
#include "draws/wins.h"
#include "texts/past_draws_texts.h"

namespace quillstep {
namespace {

// The history of the command, or the message on stderr and nothing.
bool readHistory(const CliCommand& command, History& history) {
    HistoryReading reading = readHistoryFile(command.historyFileName);
    if (!reading.ok()) {
        std::cerr << "quillstep-cli: " << command.name << ": " << historyErrorMessage(command.historyFileName, reading)
                  << std::endl;
        return false;
    }
    history = std::move(reading.history);
    return true;
}

int printLines(const std::vector<std::string>& lines, std::ostream& out) {
    for (const std::string& line : lines) out << line << '\n';
    out.flush();
    return 0;
}

// Runs `work`; want of memory ends the command with its message and status 1.
template <typename Work>
int guarded(const CliCommand& command, Work&& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        std::cerr << "quillstep-cli: " << command.name << ": not enough memory" << std::endl;
        return exitStatusOf(FaultKind::Fault);
    }
}

bool parseWinsOptions(const std::vector<std::string>& arguments, size_t& i, CliCommand& command, std::string& error) {
    bool pricesGiven = false, prizesGiven = false;
    TicketPrices prices;
    while (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) == 0) {
        std::string name = arguments[++i].substr(2), value;
        if (const size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            error = "--" + echoedText(name) + " needs a value";
            return false;
        }
        if (name == "price") {
            if (pricesGiven) return error = "--price is given twice for wins", false;
            const auto amount = parseAmount(value);
            if (!amount)
                return error = "--price needs an amount from 0 to " + std::to_string(HIGHEST_AMOUNT_UNITS) +
                               " with at most two decimals, got '" + echoedText(value) + "'",
                       false;
            prices.ticketHundredths = *amount;
            pricesGiven = true;
        } else if (name == "prizes") {
            if (prizesGiven) return error = "--prizes is given twice for wins", false;
            if (const std::string mistake = parsePrizes(value, prices); !mistake.empty())
                return error = "--prizes: " + mistake, false;
            prizesGiven = true;
        } else {
            error = "unknown option --" + echoedText(name) + " for wins (see --help)";
            return false;
        }
    }
    if (pricesGiven || prizesGiven) command.prices = prices;
    return true;
}

}  // namespace

bool isDrawsCommand(const std::string& name) { return name == "history" || name == "backtest" || name == "wins"; }

bool parseDrawsCommandArguments(const std::vector<std::string>& arguments, size_t& i, CliCommand& command,
                                std::string& error) {
    if (command.name == "wins") {
        if (i + 2 >= arguments.size() || arguments[i + 1].empty() || arguments[i + 2].empty() ||
            arguments[i + 1].rfind("--", 0) == 0 || arguments[i + 2].rfind("--", 0) == 0) {
            error = "wins needs the name of a system file, then the name of a file of past draws";
            return false;
        }
        command.fileName = arguments[++i];
        command.historyFileName = arguments[++i];
        return parseWinsOptions(arguments, i, command, error);
    }
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        error = command.name + " needs the name of a file of past draws";
        return false;
    }
    command.historyFileName = arguments[++i];
    return true;
}

int runHistoryCommand(const CliCommand& command, std::ostream& out) {
    return guarded(command, [&] {
        History history;
        if (!readHistory(command, history)) return exitStatusOf(FaultKind::Refused);
        return printLines(historyLines(history, historyStatistics({&history, 10})), out);
    });
}

int runBacktestCommand(const GenerationParameters& parameters, const CliCommand& command, std::ostream& out) {
    return guarded(command, [&] {
        History history;
        if (!readHistory(command, history)) return exitStatusOf(FaultKind::Refused);
        return printLines(backtestLines(backtestFilters({&history, parameters}), parameters), out);
    });
}

int runWinsCommand(const CliCommand& command, std::ostream& out) {
    return guarded(command, [&] {
        const SystemFileContents contents = readSystemFile(command.fileName);
        if (!contents.ok()) {
            std::cerr << "quillstep-cli: wins: " << contents.error << std::endl;
            return exitStatusOf(FaultKind::Refused);
        }
        History history;
        if (!readHistory(command, history)) return exitStatusOf(FaultKind::Refused);
        const std::vector<uint64_t> lines = systemMasks(contents);
        WinsRequest request{&history, lines.data(), static_cast<int64_t>(lines.size()), command.prices};
        return printLines(winsLines(systemWinsOverHistory(request)), out);
    });
}

}  // namespace quillstep

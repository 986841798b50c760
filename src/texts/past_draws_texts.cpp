#include "texts/past_draws_texts.h"

#include <algorithm>
#include <cstdio>

#include "usecases/system_examination.h"
#include "draws/prices.h"

namespace quillstep {
namespace {

std::string drawsText(int64_t count) { return std::to_string(count) + (count == 1 ? " draw" : " draws"); }
std::string timesText(int64_t count) { return std::to_string(count) + (count == 1 ? " time" : " times"); }

std::string sinceText(int64_t since) { return since == NEVER_DRAWN ? "never" : std::to_string(since); }

// "1.23": a ratio with two decimals.
std::string decimalText(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string excludedText(const GenerationParameters& p) {
    std::string text;
    for (int k = 1; k <= 7; ++k) text += (k > 1 ? "," : "") + std::to_string(p.excludedNumbers[k]);
    return text;
}

// The share of the expected count, in percent of it: "104".
std::string shareOfExpectedText(const HistoryStatistics& s, int v) {
    const double expected = s.expectedTimes();
    return expected > 0 ? decimalText(100.0 * static_cast<double>(s.numbers[v].timesDrawn) / expected, 0) : "0";
}

}  // namespace

std::string drawPlaceText(const History& history, size_t index) {
    return history.dated ? isoDateText(history.draws[index].date) : std::to_string(index + 1);
}

std::string conditionText(ConditionFlag condition, const GenerationParameters& p) {
    switch (condition) {
        case RANGE:
            return "R (exactly " + std::to_string(p.rangeCount) + " numbers in 1 to " + std::to_string(p.rangeLimit) + ")";
        case ODD_EVEN:
            return "O/E (at least " + std::to_string(p.minOdd) + " odd and " + std::to_string(p.minEven) + " even)";
        case SUM:
            return "S (sum " + std::to_string(p.minSum) + " to " + std::to_string(p.maxSum) + ")";
        case FORCED:
            return "F (holds " + std::to_string(p.forcedNumber) + ")";
        case MIN_MAX:
            return "MM (every number in " + std::to_string(p.minNumber) + " to " + std::to_string(p.maxNumber) + ")";
        case NEIGHBOURS:
            return "N (at most " + std::to_string(p.maxNeighbours) + " pairs of neighbouring numbers)";
        case ALL_EXCLUDED:
            return "NW7 (none of " + excludedText(p) + ")";
        case FIVE_EXCLUDED:
            return "NW5 (at most two of " + excludedText(p) + ")";
    }
    return {};
}

std::vector<std::string> historyLines(const History& history, const HistoryStatistics& s) {
    std::vector<std::string> lines;
    lines.push_back("draws: " + std::to_string(s.draws));
    lines.push_back("first: " + drawPlaceText(history, 0));
    lines.push_back("last: " + drawPlaceText(history, history.draws.size() - 1));
    for (int v = 1; v <= HIGHEST_NUMBER; ++v)
        lines.push_back(std::to_string(v) + ": " + std::to_string(s.numbers[v].timesDrawn) + " " +
                        sinceText(s.numbers[v].drawsSinceLast));
    for (const PairOverHistory& pair : s.topPairs)
        lines.push_back("pair " + std::to_string(pair.first) + "," + std::to_string(pair.second) + ": " +
                        std::to_string(pair.timesDrawn));
    return lines;
}

std::vector<std::string> backtestLines(const BacktestResult& r, const GenerationParameters& p) {
    std::vector<std::string> lines;
    lines.push_back("draws: " + std::to_string(r.draws));
    for (const ModeBacktest& mode : r.modes)
        lines.push_back("mode " + std::to_string(mode.mode) + ": " + std::to_string(mode.keptDraws) + " of " +
                        std::to_string(r.draws) + " draws (" + percentText(mode.keptDraws, r.draws) + "%), " +
                        percentText(mode.keptCombinations, ALL_DRAWN_COMBINATIONS) + "% of all combinations");
    for (const ConditionBacktest& c : r.conditions)
        lines.push_back("condition " + conditionText(c.condition, p) + ": rejects " + std::to_string(c.rejectedDraws) +
                        " of " + std::to_string(r.draws) + " draws (" + percentText(c.rejectedDraws, r.draws) + "%)");
    if (r.drawsAboveTotal > 0)
        lines.push_back("above the total of " + std::to_string(r.totalNumbers) + " numbers: " +
                        std::to_string(r.drawsAboveTotal) + " of " + std::to_string(r.draws) +
                        " draws, which no mode keeps");
    return lines;
}

std::vector<std::string> winsLines(const WinsResult& r) {
    std::vector<std::string> lines;
    lines.push_back("draws: " + std::to_string(r.draws));
    lines.push_back("best match: " + hitCountsText(r.drawsByBestMatch));
    lines.push_back("line hits: " + hitCountsText(r.lineHits));
    if (r.priced) {
        lines.push_back("cost: " + amountText(r.costHundredths));
        lines.push_back("won: " + amountText(r.wonHundredths));
        lines.push_back("balance: " + amountText(r.balanceHundredths()));
    }
    return lines;
}

std::string historyFileText(const std::string& fileName) { return "File: " + fileName; }

std::string historySpanText(const History& history) {
    const size_t n = history.draws.size();
    if (history.dated)
        return drawsText(static_cast<int64_t>(n)) + ", from " + drawPlaceText(history, 0) + " to " +
               drawPlaceText(history, n - 1) + ".";
    return drawsText(static_cast<int64_t>(n)) + " without dates, the first line taken as the oldest.";
}

std::string historyChartText(const HistoryStatistics& s) {
    std::string text = decimalText(s.expectedTimes(), 2) + "\texpected\n";
    text += "number\tsince\t% of expected\tlongest wait";
    for (int v = 1; v <= HIGHEST_NUMBER; ++v) {
        const NumberOverHistory& number = s.numbers[v];
        text += "\n" + std::to_string(number.timesDrawn) + "\t" + std::to_string(v) + "\t" +
                (number.drawsSinceLast == NEVER_DRAWN ? std::string("-") : std::to_string(number.drawsSinceLast)) +
                "\t" + shareOfExpectedText(s, v) + "\t" + std::to_string(number.longestWait);
    }
    return text;
}

std::string historyNumbersText(const HistoryStatistics& s) {
    int most = 1, least = 1, waited = 1;
    for (int v = 2; v <= HIGHEST_NUMBER; ++v) {
        if (s.numbers[v].timesDrawn > s.numbers[most].timesDrawn) most = v;
        if (s.numbers[v].timesDrawn < s.numbers[least].timesDrawn) least = v;
        if (s.numbers[v].longestWait > s.numbers[waited].longestWait) waited = v;
    }
    return "Each number is expected " + decimalText(s.expectedTimes(), 1) + " times (7/39 of the draws). Most drawn: " +
           std::to_string(most) + ", " + timesText(s.numbers[most].timesDrawn) + " (" + shareOfExpectedText(s, most) +
           "% of expected); least drawn: " + std::to_string(least) + ", " + timesText(s.numbers[least].timesDrawn) +
           " (" + shareOfExpectedText(s, least) + "%); longest wait: " + std::to_string(waited) + ", " +
           drawsText(s.numbers[waited].longestWait) + ".";
}

std::string historyPairsText(const HistoryStatistics& s) {
    std::string text = "Drawn together most often:";
    const size_t shown = std::min<size_t>(s.topPairs.size(), 6);
    for (size_t k = 0; k < shown; ++k)
        text += (k == 0 ? " " : ", ") + std::to_string(s.topPairs[k].first) + " and " +
                std::to_string(s.topPairs[k].second) + " (" + std::to_string(s.topPairs[k].timesDrawn) + ")";
    return text + ".";
}

std::string backtestModesText(const BacktestResult& r) {
    std::string text;
    for (const ModeBacktest& mode : r.modes)
        text += (mode.mode > 1 ? "\n" : "") + std::string("Mode ") + std::to_string(mode.mode) + ": kept " +
                std::to_string(mode.keptDraws) + " (" + percentText(mode.keptDraws, r.draws) + "%), keeps " +
                percentText(mode.keptCombinations, ALL_DRAWN_COMBINATIONS) + "% of all combinations";
    return text;
}

std::string backtestConditionsText(const BacktestResult& r, const GenerationParameters& p) {
    std::string text = "Each condition alone rejects:";
    for (const ConditionBacktest& c : r.conditions)
        text += "\n" + conditionText(c.condition, p) + ": " + std::to_string(c.rejectedDraws) + " (" +
                percentText(c.rejectedDraws, r.draws) + "%)";
    if (r.drawsAboveTotal > 0)
        text += "\nAbove the total of " + std::to_string(r.totalNumbers) + " numbers: " +
                std::to_string(r.drawsAboveTotal) + ", which no mode keeps";
    return text;
}

std::string winsText(const WinsResult& r, const History& history) {
    std::string text = "Over " + drawsText(r.draws) + ", best match per draw: " + hitCountsText(r.drawsByBestMatch) +
                       ". Hits of every line in every draw: " + hitCountsText(r.lineHits) + ".";
    if (r.lines > 0 && !r.bestMatch.empty() && r.bestMatch.size() == history.draws.size()) {
        const size_t latest = r.bestMatch.size() - 1;
        const size_t best = static_cast<size_t>(std::max_element(r.bestMatch.begin(), r.bestMatch.end()) - r.bestMatch.begin());
        const auto place = [&](size_t d) {
            return (history.dated ? "of " : "") + drawPlaceText(history, d);
        };
        text += " The latest draw (" + place(latest) + "): " + std::to_string(r.bestMatch[latest]) + " hits on line " +
                std::to_string(r.bestLine[latest] + 1) + "; the first with " + std::to_string(r.bestMatch[best]) +
                " hits: draw " + place(best) + ", line " + std::to_string(r.bestLine[best] + 1) + ".";
    }
    if (r.priced)
        text += " Cost " + amountText(r.costHundredths) + ", won " + amountText(r.wonHundredths) + ", balance " +
                amountText(r.balanceHundredths()) + ".";
    return text;
}

std::string oneDrawMatchText(const WinsResult& r) {
    if (r.draws != 1 || r.lines == 0) return {};
    return "Lines by the numbers they share with the draw: " + hitCountsText(r.lineHits) + ". Best: " +
           std::to_string(r.bestMatch.front()) + " on line " + std::to_string(r.bestLine.front() + 1) + ".";
}

std::string unreadableHistoryText(const std::string& fileName, const HistoryReading& reading) {
    return fileName + (reading.unreadable ? " could not be read: " : " was not opened: ") + reading.error +
           ". Nothing else has changed.";
}

}  // namespace quillstep

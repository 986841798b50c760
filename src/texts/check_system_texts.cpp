#include "texts/check_system_texts.h"

#include <algorithm>
#include <cmath>

#include "texts/file_texts.h"
#include "texts/fault_texts.h"

namespace quillstep {
namespace {

constexpr size_t HOLES_SHOWN = 3;
constexpr int PROFILED_HITS[] = {3, 4, 5};

std::string uncoveredText(const SystemExamination& examination, int guaranteedHits) {
    if (!examination.checkedAgainstStore) return "Nothing is stored: run a generation with storing to check the system.";
    const SystemCheck& check = examination.check;
    if (check.uncovered == 0)
        return "Every one of the " + std::to_string(check.storedCount) + " stored combinations gets at least " +
               std::to_string(guaranteedHits) + " hits.";
    return "Uncovered: " + std::to_string(check.uncovered) + " of the " + std::to_string(check.storedCount) +
           " stored combinations get fewer than " + std::to_string(guaranteedHits) + " hits.";
}

std::string holesText(const SystemExamination& examination) {
    if (!examination.checkedAgainstStore || examination.holes.empty()) return "No holes.";
    std::string text = examination.check.uncovered == 1 ? "The hole:" : "First holes:";
    const size_t shown = std::min(HOLES_SHOWN, examination.holes.size());
    for (size_t h = 0; h < shown; ++h) text += (h == 0 ? " " : "; ") + combinationText(examination.holes[h]);
    if (examination.check.uncovered > static_cast<int64_t>(shown)) text += " and more";
    return text + ".";
}

std::string linesText(int64_t count) { return std::to_string(count) + (count == 1 ? " line" : " lines"); }

}  // namespace

std::string allDrawsShareText(const DrawProfile& profile, int guaranteedHits) {
    return " It gets at least " + std::to_string(guaranteedHits) + " hits on " +
           percentText(profile.drawsWithAtLeast(guaranteedHits), profile.draws) + "% of all " +
           std::to_string(profile.draws) + " possible draws.";
}

std::string combinationCountText(int64_t count) {
    return std::to_string(count) + (count == 1 ? " combination" : " combinations");
}

SystemFileTexts systemFileTexts(const std::string& fileName, const SystemExamination& examination,
                                int guaranteedHits, int totalNumbers) {
    SystemFileTexts texts;
    texts.file = "File: " + fileName;
    texts.size = "System size: " + combinationCountText(static_cast<int64_t>(examination.lines.size()));
    texts.uncovered = uncoveredText(examination, guaranteedHits);
    texts.storeProfile = examination.checkedAgainstStore
                             ? "Best match over the stored combinations: " + hitCountsText(examination.check.bestMatchCounts)
                             : "Best match over the stored combinations: nothing is stored.";
    const DrawProfile& profile = examination.profile;
    texts.drawProfile = "Best match over all " + std::to_string(profile.draws) + " draws of 1 to " +
                        std::to_string(totalNumbers) + ": " + hitCountsText(profile.bestMatchCounts);
    texts.shares = "Share of all draws with at least";
    for (const int hits : PROFILED_HITS)
        texts.shares += std::string(hits == 3 ? " " : hits == 5 ? " and " : ", ") + std::to_string(hits) +
                        " hits: " + percentText(profile.drawsWithAtLeast(hits), profile.draws) + "%";
    texts.shares += ".";
    const int64_t stored = examination.checkedAgainstStore ? examination.check.storedCount : 0;
    texts.storedShare = "The guarantee holds for the stored combinations only: " + std::to_string(stored) + " of " +
                        std::to_string(profile.draws) + " draws (" + percentText(stored, profile.draws) + "%).";
    texts.holes = holesText(examination);
    return texts;
}

std::string unreadableFileText(const std::string& fileName, const SystemExamination& examination) {
    // The reader's message begins with the file's path; the window names the file by its name.
    const std::string& error = examination.error;
    if (examination.withoutCombination)
        return fileName + " was not opened: it " + NO_COMBINATION_TEXT + ". Nothing else has changed.";
    if (examination.errorLine > 0) {
        const size_t line = error.find("line " + std::to_string(examination.errorLine) + ":");
        return fileName + " was not opened: " + error.substr(line == std::string::npos ? 0 : line) +
               ". Nothing else has changed.";
    }
    const size_t reason = error.rfind(": ");
    return fileName + " could not be read" + (reason == std::string::npos ? std::string() : error.substr(reason)) +
           ". Nothing else has changed.";
}

std::string completionProgressText(const CoverProgress& progress) {
    const long secondsLeft = std::lround(std::ceil(std::max(0.0, progress.remainingSeconds)));
    const std::string added =
        progress.bestSize > 0 ? "Fewest added so far: " + combinationCountText(progress.bestSize) : "Nothing added yet";
    return added + ", " + std::to_string(secondsLeft) + " s left. Escape stops the search.";
}

std::string completionFaultText(const CompletionOutcome& outcome) {
    return faultText(outcome.fault, "the completed system");
}

std::string completionOutcomeText(const CompletionOutcome& outcome, int guaranteedHits) {
    if (!outcome.completed()) {
        const std::string why = completionFaultText(outcome);
        return "Not completed: " + why + (why.empty() || why.back() == '.' ? "" : ".");
    }
    const int64_t size = outcome.systemSize();
    std::string text = outcome.added == 0 ? "The system covers every stored combination already: "
                                          : "Completed: " + combinationCountText(outcome.added) + " added to the " +
                                                linesText(outcome.kept) + " of the file, ";
    text += "a system of " + combinationCountText(size) + " with " + std::to_string(guaranteedHits) +
            " hits guaranteed, written to " + outcome.systemFile.file.fileName + ".";
    if (outcome.stopped) text += " Stopped by Escape.";
    return text;
}

}  // namespace quillstep

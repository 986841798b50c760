#include "windows/check_system_window.h"

#include <array>
#include <optional>

#include "usecases/store_masks.h"
#include "usecases/system_completion.h"
#include "draws/history_reader.h"
#include "draws/wins.h"
#include "texts/check_system_texts.h"
#include "windows/file_reports.h"
#include "texts/past_draws_texts.h"
#include "windows/past_draws_window.h"
#include "windows/program_identity.h"
#include "windows/smaller_systems_choice.h"
#include "windows/smaller_systems_window.h"

namespace quillstep {
namespace {

using namespace window_rows;


// The labels that describe the file, one row of two lines each from INFO_TOP on.
constexpr std::array<int, 8> INFO_LABELS{CHECK_FILE_LABEL,         CHECK_SIZE_LABEL,         CHECK_UNCOVERED_LABEL,
                                         CHECK_STORE_PROFILE_LABEL, CHECK_DRAW_PROFILE_LABEL, CHECK_SHARES_LABEL,
                                         CHECK_STORED_SHARE_LABEL,  CHECK_HOLES_LABEL};
constexpr int INFO_TOP = 85, INFO_ROW = 20, INFO_HEIGHT = 18, INFO_WIDTH = 380;
// The system against one draw and against past draws, below the file's labels.
constexpr int DRAWS_TOP = INFO_TOP + INFO_ROW * static_cast<int>(INFO_LABELS.size());
constexpr int RESULT_TOP = DRAWS_TOP + 106;

// The controls above and below the file's labels, in creation (tab) order.
constexpr std::array<ControlRow, 8> TOP_CONTROLS{{
    {CHECK_SYSTEM_HEADING, LABEL, "Check a system", 10, 8, 380, 14, HEADING_FONT},
    {CHECK_SYSTEM_EXPLANATION, LABEL,
     "What a system file of this program or of another wins: on the stored combinations, where its guarantee "
     "holds, and on every possible draw.",
     10, 25, 380, 18, DIALOG_FONT},
    {CHECK_GUARANTEE_CAPTION, LABEL, "Guaranteed hits", 10, 55, 70, 10, DIALOG_FONT},
    {CHECK_GUARANTEE_LABEL, LABEL, "", 85, 47, 25, 25, VALUE_FONT},
    {CHECK_GUARANTEE_UP, BUTTON, "up", 115, 47, 30, 15, DIALOG_FONT},
    {CHECK_GUARANTEE_DOWN, BUTTON, "down", 115, 62, 30, 15, DIALOG_FONT},
    {CHECK_OPEN_FILE, BUTTON, "Open file...", 165, 50, 100, 20, DIALOG_FONT},
    {CHECK_COMPLETE, BUTTON, "Complete", 290, 50, 100, 20, DIALOG_FONT},
}};
constexpr std::array<ControlRow, 3> BOTTOM_CONTROLS{{
    {CHECK_RESULT_LABEL, LABEL, "", 10, RESULT_TOP, 380, 28, DIALOG_FONT},
    {CHECK_CLOSE, BUTTON, "Close", 290, RESULT_TOP + 33, 100, 20, DIALOG_FONT},
    {CHECK_SAVE_AS, BUTTON, "Save as...", 185, RESULT_TOP + 33, 100, 20, DIALOG_FONT},
}};

// Created after all of the above, so that those keep their creation order.
constexpr std::array<ControlRow, 10> PAST_DRAWS_CONTROLS{{
    {CHECK_DRAW_CAPTION, LABEL, "One draw", 10, DRAWS_TOP + 3, 45, 10, DIALOG_FONT},
    {CHECK_DRAW_FIELD, ControlKind::Edit, "", 60, DRAWS_TOP, 150, 14, DIALOG_FONT},
    {CHECK_MATCH, BUTTON, "Match", 215, DRAWS_TOP - 1, 60, 16, DIALOG_FONT},
    {CHECK_MATCH_LABEL, LABEL, "Type the seven numbers of a draw and press \"Match\".", 10, DRAWS_TOP + 18, 380, 18,
     DIALOG_FONT},
    {CHECK_PRICE_CAPTION, LABEL, "Line price", 10, DRAWS_TOP + 42, 45, 10, DIALOG_FONT},
    {CHECK_PRICE_FIELD, ControlKind::Edit, "", 60, DRAWS_TOP + 39, 45, 14, DIALOG_FONT},
    {CHECK_PRIZES_CAPTION, LABEL, "Prizes", 112, DRAWS_TOP + 42, 28, 10, DIALOG_FONT},
    {CHECK_PRIZES_FIELD, ControlKind::Edit, "", 142, DRAWS_TOP + 39, 148, 14, DIALOG_FONT},
    {CHECK_PAST_DRAWS, BUTTON, "Past draws...", 295, DRAWS_TOP + 38, 95, 16, DIALOG_FONT},
    {CHECK_WINS_LABEL, LABEL,
     "Prizes as hits=amount, for example 3=1,4=10,5=100,6=1000,7=100000; then \"Past draws...\" for the system's "
     "wins over a file of past draws.",
     10, DRAWS_TOP + 57, 380, 46, DIALOG_FONT},
}};
// Greyed out while no system file is open.
constexpr std::array<int, 2> SYSTEM_CONTROLS{CHECK_MATCH, CHECK_PAST_DRAWS};

// Everything a click could start while a completion runs; greyed out until it has ended.
constexpr std::array<int, 5> INPUT_CONTROLS{CHECK_GUARANTEE_UP, CHECK_GUARANTEE_DOWN, CHECK_OPEN_FILE, CHECK_COMPLETE,
                                            CHECK_CLOSE};

int lastGuarantee = 4;

bool canComplete(const SharedState& state, const CheckSystemSession& session) {
    return session.hasFile && state.generatedCount > 0;
}

void enableInput(const SharedState& state, Platform& platform, const CheckSystemSession& session, bool enabled) {
    for (const int id : INPUT_CONTROLS) platform.enableWindowControl(id, enabled);
    for (const int id : SYSTEM_CONTROLS) platform.enableWindowControl(id, enabled && session.hasFile);
    if (enabled) platform.enableWindowControl(CHECK_COMPLETE, canComplete(state, session));
    platform.enableWindowControl(CHECK_SAVE_AS, enabled && session.completed.present);
}

// A completion the writer checked and put into the abbreviated-system store, written or not.
bool completionChecked(const CompletionOutcome& outcome) {
    return outcome.completed() || outcome.fault.reason == FaultReason::WriteFailed;
}

// The system's lines against a history (one typed draw, or a file of past draws).
WinsResult winsOf(const CheckSystemSession& session, const History& history, std::optional<TicketPrices> prices) {
    const std::vector<uint64_t>& lines = session.examination.lines;
    return systemWinsOverHistory({&history, lines.data(), static_cast<int64_t>(lines.size()), prices});
}

void matchTypedDraw(Platform& platform, const CheckSystemSession& session) {
    std::string mistake;
    const std::optional<PastDraw> draw = readOneDraw(platform.windowControlText(CHECK_DRAW_FIELD), mistake);
    if (!draw) {
        platform.setWindowControlText(CHECK_MATCH_LABEL, "The draw is not read: " + mistake + ".");
        return;
    }
    History history;
    history.draws.push_back(*draw);
    platform.setWindowControlText(CHECK_MATCH_LABEL, oneDrawMatchText(winsOf(session, history, std::nullopt)));
}

// The price and prizes typed, or nothing with the fault shown when they cannot be read.
bool readPrices(Platform& platform, std::optional<TicketPrices>& prices) {
    const std::string price = platform.windowControlText(CHECK_PRICE_FIELD);
    const std::string prizes = platform.windowControlText(CHECK_PRIZES_FIELD);
    if (price.empty() && prizes.empty()) return true;
    TicketPrices typed;
    if (!price.empty()) {
        const auto amount = parseAmount(price);
        if (!amount) {
            platform.setWindowControlText(CHECK_WINS_LABEL, "The line price is not read: an amount from 0 to " +
                                                                std::to_string(HIGHEST_AMOUNT_UNITS) +
                                                                " with at most two decimals is needed.");
            return false;
        }
        typed.ticketHundredths = *amount;
    }
    if (!prizes.empty()) {
        if (const std::string mistake = parsePrizes(prizes, typed); !mistake.empty()) {
            platform.setWindowControlText(CHECK_WINS_LABEL, "The prizes are not read: " + mistake + ".");
            return false;
        }
    }
    prices = typed;
    return true;
}

void winsOverPastDraws(Platform& platform, const CheckSystemSession& session) {
    std::optional<TicketPrices> prices;
    if (!readPrices(platform, prices)) return;
    const std::filesystem::path path = platform.chooseFileToOpen(OPEN_HISTORY_FILE_TITLE);
    if (path.empty()) return;  // the user cancelled
    const HistoryReading reading = readHistoryFile(path);
    if (!reading.ok()) {
        platform.setWindowControlText(CHECK_WINS_LABEL, unreadableHistoryText(shownFileName(path), reading));
        return;
    }
    platform.setWindowControlText(CHECK_WINS_LABEL, shownFileName(path) + ": " +
                                                        winsText(winsOf(session, reading.history, prices), reading.history));
}

void showExamination(const SharedState& state, Platform& platform, const CheckSystemSession& session) {
    const SystemFileTexts texts = systemFileTexts(session.fileName, session.examination, session.guaranteedHits,
                                                  state.parameters.totalNumbers);
    const std::array<const std::string*, INFO_LABELS.size()> shown{
        &texts.file,        &texts.size,   &texts.uncovered,   &texts.storeProfile,
        &texts.drawProfile, &texts.shares, &texts.storedShare, &texts.holes};
    for (size_t k = 0; k < INFO_LABELS.size(); ++k) platform.setWindowControlText(INFO_LABELS[k], *shown[k]);
}

// Reads and examines the file; a file that cannot be used changes nothing but the result text.
bool openSystemFile(const SharedState& state, Platform& platform, CheckSystemSession& session,
                    const std::filesystem::path& path) {
    ExaminationRequest request;
    request.guaranteedHits = session.guaranteedHits;
    SystemExamination examination = examineSystemFile(state, path, request);
    const std::string name = shownFileName(path);
    if (!examination.ok()) {
        platform.setWindowControlText(CHECK_RESULT_LABEL, unreadableFileText(name, examination));
        return false;
    }
    session.hasFile = true;
    session.fileName = name;
    session.examination = std::move(examination);
    showExamination(state, platform, session);
    return true;
}

// The file's check against the store again, at the guarantee now chosen; the profile stays.
void checkAgain(const SharedState& state, Platform& platform, CheckSystemSession& session) {
    if (!session.hasFile || state.generatedCount <= 0) return;
    const std::vector<uint64_t> stored = combinationMasks(state);
    session.examination.check =
        checkSystem(storedCoverRequest(stored, session.guaranteedHits, HIGHEST_NUMBER), session.examination.lines);
    session.examination.holes.clear();
    for (const int64_t hole : session.examination.check.holes)
        session.examination.holes.push_back(stored[static_cast<size_t>(hole)]);
    showExamination(state, platform, session);
}

void runCompletion(SharedState& state, Platform& platform, CheckSystemSession& session) {
    CompletionSettings settings;
    settings.guaranteedHits = session.guaranteedHits;
    settings.timeLimitSeconds = lastSmallerSystemsChoice().timeLimitSeconds;
    enableInput(state, platform, session, false);
    CoverProgress start;
    start.remainingSeconds = settings.timeLimitSeconds;
    platform.setWindowControlText(CHECK_RESULT_LABEL, completionProgressText(start));
    CompletionObserver observer;
    observer.onProgress = [&platform](const CoverProgress& progress) {
        platform.setWindowControlText(CHECK_RESULT_LABEL, completionProgressText(progress));
    };
    observer.stopRequested = [&platform] { return platform.pollStopRequest(); };
    observer.write = mainWindowWriteObserver(platform);
    const CompletionOutcome outcome = completeSystem(state, session.examination.lines, settings, observer);
    session.completed = completionChecked(outcome)
                            ? savableSystemFromStore(state, static_cast<int32_t>(outcome.systemSize()),
                                                     settings.guaranteedHits, true)
                            : SavableSystem{};
    // The labels then describe the system written, which covers every stored combination.
    if (outcome.completed())
        openSystemFile(state, platform, session, state.outputFolder / outcome.systemFile.file.fileName);
    platform.setWindowControlText(CHECK_RESULT_LABEL,
                                  completionOutcomeText(outcome, session.guaranteedHits));
    enableInput(state, platform, session, true);
}

}  // namespace

WindowTemplate checkSystemWindowTemplate(const CheckSystemSession& session) {
    WindowTemplate window = programWindowFrame(100, 60, 400, RESULT_TOP + 60);
    window.fonts = {{12, true, false, DEFAULT_CHARACTER_SET}, {24, true, false, DEFAULT_CHARACTER_SET}};
    for (const ControlRow& row : TOP_CONTROLS) window.controls.push_back(row.toControl());
    for (size_t k = 0; k < INFO_LABELS.size(); ++k)
        window.controls.push_back({INFO_LABELS[k], LABEL, k == 0 ? NO_SYSTEM_FILE_TEXT : "", 10,
                                   INFO_TOP + INFO_ROW * static_cast<int>(k), INFO_WIDTH, INFO_HEIGHT, DIALOG_FONT});
    for (const ControlRow& row : BOTTOM_CONTROLS) window.controls.push_back(row.toControl());
    for (const ControlRow& row : PAST_DRAWS_CONTROLS) window.controls.push_back(row.toControl());
    for (auto& control : window.controls)
        if (control.id == CHECK_GUARANTEE_LABEL) control.text = std::to_string(session.guaranteedHits);
    return window;
}

WindowAction checkSystemWindowCallback(SharedState& state, Platform& platform, CheckSystemSession& session,
                                       int controlId) {
    switch (controlId) {
        case CHECK_GUARANTEE_UP:
        case CHECK_GUARANTEE_DOWN: {
            const int next = session.guaranteedHits + (controlId == CHECK_GUARANTEE_UP ? 1 : -1);
            if (next < LOWEST_GUARANTEE || next > HIGHEST_GUARANTEE) break;
            session.guaranteedHits = next;
            lastGuarantee = next;
            platform.setWindowControlText(CHECK_GUARANTEE_LABEL, std::to_string(next));
            checkAgain(state, platform, session);
            break;
        }
        case CHECK_OPEN_FILE: {
            const std::filesystem::path path = platform.chooseFileToOpen(OPEN_SYSTEM_FILE_TITLE);
            if (path.empty()) break;  // the user cancelled
            if (openSystemFile(state, platform, session, path)) {
                platform.setWindowControlText(CHECK_RESULT_LABEL, "");
                session.completed = SavableSystem{};  // the window now speaks of another file
            }
            enableInput(state, platform, session, true);
            break;
        }
        case CHECK_SAVE_AS: {
            const SaveAsOutcome outcome = saveSystemAs(state, platform, session.completed);
            if (!outcome.cancelled)
                platform.setWindowControlText(CHECK_RESULT_LABEL, saveAsOutcomeText(outcome, session.completed));
            break;
        }
        case CHECK_MATCH:
            if (session.hasFile) matchTypedDraw(platform, session);
            break;
        case CHECK_PAST_DRAWS:
            if (session.hasFile) winsOverPastDraws(platform, session);
            break;
        case CHECK_COMPLETE:
            if (canComplete(state, session)) runCompletion(state, platform, session);
            break;
        case CHECK_CLOSE:
            return WindowAction::Close;
        default:
            break;  // Escape while nothing runs, and the labels: nothing
    }
    return WindowAction::Continue;
}

void runCheckSystemWindow(SharedState& state, Platform& platform, CheckSystemSession& session) {
    WindowHandler handler;
    handler.onCreated = [&state, &platform, &session] { enableInput(state, platform, session, true); };
    handler.onCommand = [&state, &platform, &session](int controlId) {
        return checkSystemWindowCallback(state, platform, session, controlId);
    };
    platform.enableMainWindow(false);
    platform.runModalWindow(checkSystemWindowTemplate(session), handler);
    platform.enableMainWindow(true);
}

void showCheckSystemWindow(SharedState& state, Platform& platform) {
    CheckSystemSession session;
    session.guaranteedHits = lastGuarantee;
    runCheckSystemWindow(state, platform, session);
}

}  // namespace quillstep

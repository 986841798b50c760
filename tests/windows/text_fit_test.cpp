#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "app/main_window.h"
#include "windows/control_ids.h"
#include "windows/check_system_window.h"
#include "windows/intro_window.h"
#include "windows/set_values_form.h"
#include "windows/set_values_window.h"
#include "texts/past_draws_texts.h"
#include "windows/past_draws_window.h"
#include "texts/smaller_systems_texts.h"
#include "windows/smaller_systems_window.h"
#include "windows/wheel_window.h"

namespace quillstep {
namespace {

// A cautious estimate of how MS Sans Serif lays out text, in dialog units of its 8-point size
// (one unit is 1.5 pixels across and 1.625 pixels down at 96 dots per inch): every character
// counts as 6 pixels at 8 points (the font's average over the whole alphabet, wider than most
// lower-case letters), scaled with the point size and by a tenth more when bold. Lines are the
// font's cell height in pixels.
double characterWidth(const FontTemplate& font) {
    return 6.0 / 1.5 * font.pointSize / 8.0 * (font.bold ? 1.1 : 1.0);
}

double lineHeight(const FontTemplate& font) {
    static const std::map<int, int> cellPixels{{8, 13}, {10, 16}, {12, 20}, {14, 24}, {24, 37}};
    return cellPixels.at(font.pointSize) / 1.625;
}

// Lines the text needs when wrapped at word boundaries in `width`; a word wider than the box
// counts as not fitting at all.
int wrappedLines(const std::string& text, const FontTemplate& font, int width) {
    std::istringstream words(text);
    std::string word;
    int lines = 1;
    double used = 0;
    const double space = characterWidth(font);
    while (words >> word) {
        const double w = word.size() * characterWidth(font);
        if (w > width) return 1000;
        if (used > 0 && used + space + w > width) {
            ++lines;
            used = w;
        } else {
            used += (used > 0 ? space : 0) + w;
        }
    }
    return lines;
}

// Whether `text` fits control `id` of the window (its own text when none is given).
void expectFits(const WindowTemplate& window, int id, const std::string* text = nullptr) {
    const ControlTemplate* c = window.find(id);
    ASSERT_NE(c, nullptr) << id;
    const std::string& shown = text ? *text : c->text;
    const FontTemplate font = c->font < 0 ? FontTemplate{} : window.fonts[c->font];
    const int available = std::max(1, static_cast<int>(c->height / lineHeight(font)));
    EXPECT_LE(wrappedLines(shown, font, c->width), available) << id << ": \"" << shown << "\"";
}

TEST(WindowsTextFit, EstimateIsNotVacuous) {
    FontTemplate eight;
    EXPECT_EQ(wrappedLines(std::string(80, 'x'), eight, 300), 1000);  // 320 units in one word
    EXPECT_EQ(wrappedLines("aaaa bbbb cccc", eight, 20), 3);
    EXPECT_EQ(wrappedLines("aaaa bbbb", eight, 35), 2);
    EXPECT_EQ(wrappedLines("aaaa bbbb", eight, 36), 1);
}

TEST(WindowsTextFit, MainWindowNoticeFitsItsLabels) {
    const WindowTemplate w = mainWindowTemplate();
    for (int id : {NOTICE_HEADLINE, NOTICE_LINE_1, NOTICE_LINE_2, NOTICE_LINE_3, NOTICE_LINE_4, NOTICE_LINE_5,
                   NOTICE_LINE_6, NOTICE_LINE_7, NOTICE_LINE_8}) {
        expectFits(w, id);
        EXPECT_GT(w.find(id)->text.size(), 20u) << id << " carries a sentence";
    }
}

TEST(WindowsTextFit, IntroParagraphsFitTheirLabels) {
    const WindowTemplate w = introWindowTemplate();
    for (const auto& c : w.controls)
        if (c.kind == ControlKind::Label) expectFits(w, c.id);
}

// The fixed texts, and the longest texts the progress and result labels can be given.
TEST(WindowsTextFit, SmallerSystemsTextsFitTheirLabels) {
    SmallerSystemsChoice widest;
    widest.timeLimitSeconds = 600;
    const WindowTemplate w = smallerSystemsWindowTemplate(widest);
    for (const auto& c : w.controls)
        if (c.kind == ControlKind::Label || c.kind == ControlKind::CheckBox) expectFits(w, c.id);

    const std::string progress = optimiserProgressText({999, 0.0, 600.0, 0});
    expectFits(w, SMALLER_SYSTEMS_PROGRESS, &progress);

    OptimiseOutcome outcome;
    outcome.searched = outcome.verified = outcome.systemFile.file.written = outcome.stopped = true;
    outcome.systemSize = outcome.outsideFilters = 999;
    outcome.seconds = 599.9;
    outcome.systemFile.file.fileName = "mb_comb_file_ab5.txt";
    OptimiseSettings settings;
    settings.guaranteedHits = 5;
    settings.anyCombination = true;
    const std::string result = optimiseOutcomeText(outcome, settings);
    expectFits(w, SMALLER_SYSTEMS_RESULT, &result);
}

// The captions, the widest ranges, and the longest messages OK can give: text typed over the
// echo limit into the excluded numbers, and a refusal echoing a long number.
TEST(WindowsTextFit, SetValuesTextsFitTheirLabels) {
    const WindowTemplate w = setValuesWindowTemplate({});
    for (const auto& c : w.controls)
        if (c.kind == ControlKind::Label) expectFits(w, c.id);
    SetValuesTexts typed = setValuesTexts({});
    typed[SET_VALUES_FIELD_COUNT - 1] = std::string(200, '7') + ";";
    const std::string excluded = readSetValues(typed, {}).error;
    EXPECT_NE(excluded.find("..."), std::string::npos) << excluded;
    expectFits(w, SET_VALUES_MESSAGE, &excluded);
    typed = setValuesTexts({});
    typed[5] = "-2147483648";
    const std::string refused = readSetValues(typed, {}).error;
    expectFits(w, SET_VALUES_MESSAGE, &refused);
}

// The Past draws window's fixed texts, and its longest one-line texts: counts of 100,000 draws.
TEST(WindowsTextFit, PastDrawsTextsFitTheirLabels) {
    const WindowTemplate w = pastDrawsWindowTemplate();
    for (const auto& c : w.controls)
        if (c.kind == ControlKind::Label) expectFits(w, c.id);
    HistoryStatistics widest;
    widest.draws = 100000;
    for (int v = 1; v <= 39; ++v) widest.numbers[v] = {17949 + v, 99999, 99999};
    for (int k = 0; k < 10; ++k) widest.topPairs.push_back({38, 39, 99999});
    const std::string numbers = historyNumbersText(widest), pairs = historyPairsText(widest);
    expectFits(w, PAST_DRAWS_NUMBERS_LABEL, &numbers);
    expectFits(w, PAST_DRAWS_PAIRS_LABEL, &pairs);
    History history;
    history.dated = true;
    history.draws.resize(100000);
    const std::string span = historySpanText(history);
    expectFits(w, PAST_DRAWS_SPAN_LABEL, &span);

    CheckSystemSession session;
    const WindowTemplate check = checkSystemWindowTemplate(session);
    for (const int id : {CHECK_DRAW_CAPTION, CHECK_MATCH_LABEL, CHECK_PRICE_CAPTION, CHECK_PRIZES_CAPTION, CHECK_WINS_LABEL})
        expectFits(check, id);
    // The wins of a 1,000-line system over 100,000 dated draws, with large sums of money.
    WinsResult wins;
    wins.draws = 100000;
    wins.lines = 1000;
    wins.drawsByBestMatch = {10000, 10000, 10000, 10000, 10000, 10000, 10000, 30000};
    wins.lineHits = {10000000, 10000000, 10000000, 10000000, 10000000, 10000000, 10000000, 30000000};
    wins.bestMatch.assign(100000, 7);
    wins.bestLine.assign(100000, 999);
    wins.priced = true;
    wins.costHundredths = 100000000000;
    wins.wonHundredths = 12345678901;
    const std::string won = "a-file-name.csv: " + winsText(wins, history);
    expectFits(check, CHECK_WINS_LABEL, &won);
}

// The Wheel my numbers window: its fixed texts, the slip's widest number, and the longest texts
// its labels can be given (every other number chosen with three keys, a refusal, a wheel of
// thousands of tickets stopped by Escape with its published size, its file and its shares).
TEST(WindowsTextFit, WheelWindowTextsFitTheirLabels) {
    WheelChoice widest;
    widest.timeLimitSeconds = 600;
    for (int v = 1; v <= 39; v += 2) widest.pool |= uint64_t{1} << v;
    widest.keys = (uint64_t{1} << 35) | (uint64_t{1} << 37) | (uint64_t{1} << 39);
    const WindowTemplate w = wheelWindowTemplate(widest);
    for (const auto& c : w.controls)
        if (c.kind == ControlKind::Label || c.kind == ControlKind::ToggleButton || c.kind == ControlKind::Button)
            expectFits(w, c.id);
    const std::string progress = wheelProgressText({99999, 0.0, 600.0});
    expectFits(w, WHEEL_PROGRESS, &progress);
    WheelRefusal refusal;
    refusal.fault = WheelFault::KeysReachHits;
    refusal.first = 3;
    refusal.second = 3;
    const std::string refused = wheelChoiceRefusedText(refusal);
    expectFits(w, WHEEL_PROGRESS, &refused);
    WheelMade made;
    made.search.tickets.assign(99999, 0);
    made.search.stopped = true;
    // The published row of 39 numbers at 4 if 4, the largest of the table.
    const std::string size = wheelSizeText(made, WheelRequest{(uint64_t{2} << 39) - 2, 0, 4, 4});
    EXPECT_NE(size.find("best published"), std::string::npos) << size;
    expectFits(w, WHEEL_SIZE_LABEL, &size);
    DrawProfile profile;
    profile.draws = 15380937;
    profile.bestMatchCounts = {0, 0, 0, 1, 1, 1, 0, 0};
    const std::string shares = wheelDrawSharesText(profile);
    expectFits(w, WHEEL_SHARES_LABEL, &shares);
    made.file.check.tickets = 99999;
    made.file.check.targets = 15380937;
    made.file.file.fileName = "mb_comb_file_wheel.txt";
    made.search.stopped = false;
    const std::string file = wheelFileText(made);
    expectFits(w, WHEEL_FILE_LABEL, &file);
    made.file.check.uncovered = 15380936;
    made.file.fault = {FaultReason::WheelUncovering, made.file.check.uncovered};
    const std::string notWritten = wheelFileText(made);
    expectFits(w, WHEEL_FILE_LABEL, &notWritten);
}

}  // namespace
}  // namespace quillstep

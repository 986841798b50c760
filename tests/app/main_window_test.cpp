#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "app/main_window.h"
#include "windows/control_ids.h"
#include "files/number_text.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {
namespace {

std::vector<int> idRange(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) ids.push_back(id);
    return ids;
}

// The tab order as the window is specified, written out range by range.
std::vector<int> expectedCreationOrder() {
    std::vector<int> order{1002, 1003, 1004, 1080, 1005, 1006, 1007, 1008, 1009, 1012};
    auto append = [&order](const std::vector<int>& ids) { order.insert(order.end(), ids.begin(), ids.end()); };
    append(idRange(1013, 1021));
    append({1024, 1025, 1026});
    append(idRange(1029, 1038));
    append(idRange(1039, 1044));
    append(idRange(1045, 1054));
    append(idRange(1055, 1060));
    append(idRange(1062, 1077));
    append(idRange(1116, 1125));
    append({1126, 1127, 1128, 1129, 1130});
    append(idRange(1131, 1137));
    append(idRange(1138, 1144));
    append(idRange(1145, 1151));
    append({1152, 1153});
    return order;
}

TEST(AppMainWindowTemplate, FrameAndCreationOrder) {
    const WindowTemplate w = mainWindowTemplate();
    EXPECT_EQ(w.title, "Marrowby - Quillstep");
    EXPECT_EQ(std::vector<int>({w.x, w.y, w.width, w.height}), std::vector<int>({8, 55, 668, 418}));
    EXPECT_EQ(w.style, 0x94C800D4u);
    EXPECT_EQ(w.extendedStyle, 0x10000u);
    EXPECT_EQ(w.iconResource, 102);
    EXPECT_TRUE(w.isMainWindow);

    std::vector<int> ids;
    for (const auto& c : w.controls) ids.push_back(c.id);
    const std::vector<int> original = expectedCreationOrder();
    ASSERT_GT(ids.size(), original.size());
    // The original controls come first, in their order; controls added later follow them.
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + static_cast<long>(original.size())), original);
    for (size_t k = original.size(); k < ids.size(); ++k) EXPECT_GT(ids[k], 1153) << "added control " << k;
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size()) << "ids must be unique";
}

// The added buttons lie inside the client area and cover no other control.
TEST(AppMainWindowTemplate, SmallerSystemsButtonHasRoomOfItsOwn) {
    const WindowTemplate w = mainWindowTemplate();
    for (const auto& [id, text] : {std::pair<int, std::string>{SMALLER_SYSTEMS_BUTTON, "Smaller systems..."},
                                   std::pair<int, std::string>{CHECK_SYSTEM_BUTTON, "Check a system..."},
                                   std::pair<int, std::string>{SET_VALUES_BUTTON, "Set values..."},
                                   std::pair<int, std::string>{PAST_DRAWS_BUTTON, "Past draws..."},
                                   std::pair<int, std::string>{WHEEL_MY_NUMBERS_BUTTON, "Wheel my numbers..."}}) {
        const ControlTemplate* button = w.find(id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->kind, ControlKind::Button);
        EXPECT_EQ(button->text, text);
        EXPECT_GE(button->x, 0);
        EXPECT_GE(button->y, 0);
        EXPECT_LE(button->x + button->width, w.width);
        EXPECT_LE(button->y + button->height, w.height);
        for (const auto& c : w.controls) {
            if (c.id == button->id) continue;
            const bool apart = c.x >= button->x + button->width || button->x >= c.x + c.width ||
                               c.y >= button->y + button->height || button->y >= c.y + c.height;
            EXPECT_TRUE(apart) << id << " overlaps control " << c.id;
        }
    }
    // "Check a system..." is created right after "Smaller systems...", "Set values..." and "Past draws..." after them.
    const auto position = [&w](int id) {
        for (size_t k = 0; k < w.controls.size(); ++k)
            if (w.controls[k].id == id) return k;
        return w.controls.size();
    };
    EXPECT_EQ(position(CHECK_SYSTEM_BUTTON), position(SMALLER_SYSTEMS_BUTTON) + 1);
    EXPECT_GT(position(SET_VALUES_BUTTON), position(CHECK_SYSTEM_BUTTON));
    EXPECT_GT(position(PAST_DRAWS_BUTTON), position(SET_VALUES_BUTTON));
    EXPECT_EQ(position(WHEEL_MY_NUMBERS_BUTTON), w.controls.size() - 1);
}

// Each line of the notice keeps the height of one line of the dialog font (8 units) free of the
// controls created after it: such a control paints its box over the line, cutting off the tops or
// the descenders of its letters.
TEST(AppMainWindowTemplate, NoticeLinesAreNotCoveredByOtherControls) {
    const WindowTemplate w = mainWindowTemplate();
    constexpr int LINE_HEIGHT = 8;
    for (int id : {NOTICE_LINE_1, NOTICE_LINE_2, NOTICE_LINE_3, NOTICE_LINE_4, NOTICE_LINE_5, NOTICE_LINE_6,
                   NOTICE_LINE_7, NOTICE_LINE_8}) {
        const ControlTemplate& line = *w.find(id);
        EXPECT_GE(line.height, LINE_HEIGHT + 1) << id << " has room for its line and a little more";
        // Beside or below the line, not over it.
        bool after = false;
        for (const ControlTemplate& c : w.controls) {
            after = after || c.id == id;
            if (!after || c.id == id || c.kind == ControlKind::EtchedFrame || c.kind == ControlKind::GroupBox) continue;
            const bool apart = c.x >= line.x + line.width || line.x >= c.x + c.width ||
                               c.y >= line.y + LINE_HEIGHT || line.y >= c.y + c.height;
            EXPECT_TRUE(apart) << "control " << c.id << " covers the line of " << id << " (\"" << line.text << "\")";
        }
    }
}

TEST(AppMainWindowTemplate, SelectedControlsAreExact) {
    const WindowTemplate w = mainWindowTemplate();
    struct Expected {
        int id;
        ControlKind kind;
        const char* text;
        int x, y, width, height;
    };
    const Expected rows[] = {
        {TOTAL_NUMBERS_FRAME, ControlKind::EtchedFrame, "Line1", 5, 5, 190, 70},
        {SUM_STORING_BUTTON, ControlKind::Button, "Use sum condition (with storring in memory)", 5, 175, 180, 20},
        {MAX_SUM_UP, ControlKind::Button, "up", 150, 115, 30, 14},
        {RANGE_LIMIT_DOWN, ControlKind::Button, "down", 150, 330, 31, 14},
        {PROGRAM_NAME_LABEL, ControlKind::CentredLabel, "Quillstep", 210, 250, 125, 45},
        {NOTICE_HEADLINE, ControlKind::CentredLabel, w.find(NOTICE_HEADLINE)->text.c_str(), 350, 45, 300, 20},
        {MEMORY_FRAME, ControlKind::GroupBox, "", 350, 260, 310, 40},
        {MAX_NEIGHBOURS_DOWN, ControlKind::Button, "down", 50, 380, 31, 15},
        {MAX_NEIGHBOURS_UP, ControlKind::Button, "up", 50, 365, 31, 15},
        {excludedLabel(1), ControlKind::Label, "1", 235, 370, 25, 21},
        {excludedLabel(5), ControlKind::Label, "5", 390, 370, 30, 20},
        {excludedUp(4), ControlKind::Button, "up", 350, 355, 30, 15},
        {excludedDown(7), ControlKind::Button, "down", 470, 395, 30, 15},
        {ALL_EXCLUDED_FILTERS_BUTTON, ControlKind::Button, "All  num  OUT+N+MM+R+F+SUM+O/E", 515, 355, 145, 25},
        {ANY_FIVE_EXCLUDED_FILTERS_BUTTON, ControlKind::Button, "any 5 num OUT+N+MM+R+F+SUM+O/E", 515, 385, 145, 25},
        {MEMORY_LABEL, ControlKind::Label, "Here you will find info about what is in memory", 355, 275, 300, 20},
        {TIME_LABEL, ControlKind::Label, "0.00", 420, 200, 240, 14},
    };
    for (const auto& e : rows) {
        const ControlTemplate* c = w.find(e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_EQ(c->kind, e.kind) << e.id;
        EXPECT_EQ(c->text, e.text) << e.id;
        EXPECT_EQ(std::vector<int>({c->x, c->y, c->width, c->height}),
                  std::vector<int>({e.x, e.y, e.width, e.height}))
            << e.id;
    }
}

TEST(AppMainWindowTemplate, FontsOfTheirControls) {
    const WindowTemplate w = mainWindowTemplate();
    ASSERT_EQ(w.fonts.size(), 8u);
    struct Expected {
        int pointSize;
        bool bold, italic;
        std::vector<int> controls;
    };
    const Expected fonts[] = {
        {10, true, false, {TOTAL_NUMBERS_CAPTION, NOTICE_HEADLINE, MEMORY_CAPTION}},
        {12, true, false, {NUMBERS_PER_COMBINATION_CAPTION}},
        {12, false, false, {COUNT_LABEL, TIME_LABEL}},
        {14, true, true, {PROGRAM_NAME_LABEL}},
        {24, true, false, {TOTAL_NUMBERS_LABEL, NUMBERS_PER_COMBINATION_LABEL, MIN_SUM_LABEL, MAX_SUM_LABEL, MIN_ODD_LABEL, MIN_EVEN_LABEL, RANGE_COUNT_LABEL, RANGE_LIMIT_LABEL, MIN_NUMBER_LABEL, MAX_NUMBER_LABEL, MAX_NEIGHBOURS_LABEL, excludedLabel(1), excludedLabel(2), excludedLabel(3), excludedLabel(4),
                           excludedLabel(5), excludedLabel(6), excludedLabel(7)}},
        {8, true, false, {FORCED_NUMBER_CAPTION, RANGE_COUNT_CAPTION, MIN_NUMBER_CAPTION, MAX_NUMBER_CAPTION, MAX_NEIGHBOURS_CAPTION}},
        {24, false, false, {FORCED_NUMBER_LABEL}},
        {14, true, false, {RANGE_LIMIT_CAPTION}},
    };
    std::set<int> withOwnFont;
    for (const auto& f : fonts) {
        for (int id : f.controls) {
            const ControlTemplate* c = w.find(id);
            ASSERT_NE(c, nullptr);
            ASSERT_GE(c->font, 0) << id;
            const FontTemplate& font = w.fonts[c->font];
            EXPECT_EQ(font.pointSize, f.pointSize) << id;
            EXPECT_EQ(font.bold, f.bold) << id;
            EXPECT_EQ(font.italic, f.italic) << id;
            withOwnFont.insert(id);
        }
    }
    for (const auto& c : w.controls) {
        if (!withOwnFont.count(c.id)) {
            EXPECT_EQ(c.font, -1) << c.id << " keeps the dialog font";
        }
    }
}

TEST(AppMainWindowTemplate, ValueLabelsShowTheDefaults) {
    const WindowTemplate w = mainWindowTemplate();
    const GenerationParameters defaults;
    const std::pair<int, int32_t> labels[] = {
        {TOTAL_NUMBERS_LABEL, defaults.totalNumbers}, {NUMBERS_PER_COMBINATION_LABEL, defaults.numbersPerCombination}, {MIN_SUM_LABEL, defaults.minSum},
        {MAX_SUM_LABEL, defaults.maxSum},       {MIN_ODD_LABEL, defaults.minOdd},                 {MIN_EVEN_LABEL, defaults.minEven},
        {FORCED_NUMBER_LABEL, defaults.forcedNumber}, {RANGE_COUNT_LABEL, defaults.rangeCount},            {RANGE_LIMIT_LABEL, defaults.rangeLimit},
        {MIN_NUMBER_LABEL, defaults.minNumber},    {MAX_NUMBER_LABEL, defaults.maxNumber},             {MAX_NEIGHBOURS_LABEL, defaults.maxNeighbours},
    };
    for (const auto& [id, value] : labels) EXPECT_EQ(w.find(id)->text, std::to_string(value)) << id;
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(w.find(excludedLabel(i))->text, std::to_string(defaults.excludedNumbers[i])) << "excluded " << i;
    EXPECT_EQ(w.find(COUNT_LABEL)->text, "0");
}

TEST(AppMainWindowRun, StoreButtonsGreyAfterCreationAndOthersEnabled) {
    SharedState state;
    HeadlessPlatform platform;
    runMainWindow(state, platform);
    ASSERT_EQ(platform.shownWindows.size(), 1u);
    const std::set<int> store(StoreCommands.begin(), StoreCommands.end());
    EXPECT_EQ(store, (std::set<int>{WRITE_COMBINATIONS_BUTTON, VIEW_COMBINATIONS_BUTTON, SEARCH_G4_BUTTON, VIEW_G4_BUTTON, SEARCH_G5_BUTTON, VIEW_G5_BUTTON, STATISTICS_BUTTON}));
    for (const auto& c : platform.shownWindows[0].controls) {
        if (c.kind != ControlKind::Button) continue;
        const bool greyed = store.count(c.id) || c.id == SMALLER_SYSTEMS_BUTTON || c.id == CHECK_SYSTEM_BUTTON;
        EXPECT_EQ(platform.isEnabled(c.id), !greyed) << c.id;
    }
    EXPECT_EQ(platform.text(excludedLabel(7)), "7");
}

}  // namespace
}  // namespace quillstep

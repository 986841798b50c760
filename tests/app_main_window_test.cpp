#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/main_window.h"
#include "commands/control_ids.h"
#include "commands/number_text.h"
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
                                   std::pair<int, std::string>{CHECK_SYSTEM_BUTTON, "Check a system..."}}) {
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
    // "Check a system..." is created right after "Smaller systems...".
    EXPECT_EQ(w.controls.back().id, CHECK_SYSTEM_BUTTON);
    EXPECT_EQ(w.controls[w.controls.size() - 2].id, SMALLER_SYSTEMS_BUTTON);
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
        {1026, ControlKind::EtchedFrame, "Line1", 5, 5, 190, 70},
        {1032, ControlKind::Button, "Use sum condition (with storring in memory)", 5, 175, 180, 20},
        {1049, ControlKind::Button, "up", 150, 115, 30, 14},
        {1069, ControlKind::Button, "down", 150, 330, 31, 14},
        {1012, ControlKind::CentredLabel, "Quillstep", 210, 250, 125, 45},
        {1021, ControlKind::CentredLabel, w.find(1021)->text.c_str(), 350, 45, 300, 20},
        {1125, ControlKind::GroupBox, "", 350, 260, 310, 40},
        {1127, ControlKind::Button, "down", 50, 380, 31, 15},
        {1128, ControlKind::Button, "up", 50, 365, 31, 15},
        {1131, ControlKind::Label, "1", 235, 370, 25, 21},
        {1135, ControlKind::Label, "5", 390, 370, 30, 20},
        {1141, ControlKind::Button, "up", 350, 355, 30, 15},
        {1151, ControlKind::Button, "down", 470, 395, 30, 15},
        {1152, ControlKind::Button, "All  num  OUT+N+MM+R+F+SUM+O/E", 515, 355, 145, 25},
        {1153, ControlKind::Button, "any 5 num OUT+N+MM+R+F+SUM+O/E", 515, 385, 145, 25},
        {1073, ControlKind::Label, "Here you will find info about what is in memory", 355, 275, 300, 20},
        {1007, ControlKind::Label, "0.00", 420, 200, 240, 14},
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
        {10, true, false, {1002, 1021, 1072}},
        {12, true, false, {1003}},
        {12, false, false, {1005, 1007}},
        {14, true, true, {1012}},
        {24, true, false, {1039, 1040, 1041, 1042, 1043, 1044, 1060, 1067, 1116, 1120, 1126, 1131, 1132, 1133, 1134,
                           1135, 1136, 1137}},
        {8, true, false, {1055, 1063, 1119, 1123, 1130}},
        {24, false, false, {1056}},
        {14, true, false, {1066}},
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
        {1039, defaults.totalNumbers}, {1040, defaults.numbersPerCombination}, {1041, defaults.minSum},
        {1042, defaults.maxSum},       {1043, defaults.minOdd},                 {1044, defaults.minEven},
        {1056, defaults.forcedNumber}, {1060, defaults.rangeCount},            {1067, defaults.rangeLimit},
        {1116, defaults.minNumber},    {1120, defaults.maxNumber},             {1126, defaults.maxNeighbours},
    };
    for (const auto& [id, value] : labels) EXPECT_EQ(w.find(id)->text, std::to_string(value)) << id;
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(w.find(1130 + i)->text, std::to_string(defaults.excludedNumbers[i])) << "excluded " << i;
    EXPECT_EQ(w.find(1005)->text, "0");
}

TEST(AppMainWindowRun, StoreButtonsGreyAfterCreationAndOthersEnabled) {
    SharedState state;
    HeadlessPlatform platform;
    runMainWindow(state, platform);
    ASSERT_EQ(platform.shownWindows.size(), 1u);
    const std::set<int> store(StoreCommands.begin(), StoreCommands.end());
    EXPECT_EQ(store, (std::set<int>{1037, 1038, 1074, 1075, 1076, 1077, 1080}));
    for (const auto& c : platform.shownWindows[0].controls) {
        if (c.kind != ControlKind::Button) continue;
        const bool greyed = store.count(c.id) || c.id == SMALLER_SYSTEMS_BUTTON || c.id == CHECK_SYSTEM_BUTTON;
        EXPECT_EQ(platform.isEnabled(c.id), !greyed) << c.id;
    }
    EXPECT_EQ(platform.text(1137), "7");
}

}  // namespace
}  // namespace quillstep

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_platform.h"
#include "windows/intro_window.h"

namespace quillstep {
namespace {

TEST(WindowsIntro, TemplateAsPlaced) {
    const WindowTemplate w = introWindowTemplate();
    EXPECT_EQ(w.title, "Marrowby - Quillstep");
    EXPECT_EQ(std::vector<int>({w.x, w.y, w.width, w.height}), std::vector<int>({82, 70, 501, 309}));
    EXPECT_EQ(w.style, AUXILIARY_WINDOW_STYLE);
    EXPECT_EQ(w.iconResource, 0);
    EXPECT_FALSE(w.isMainWindow);

    struct Expected {
        int id, x, y, width, height, pointSize;  // pointSize 0: the dialog font
    };
    const Expected rows[] = {
        {1103, 25, 0, 30, 15, 12},   {1104, 25, 15, 340, 10, 10},  {1105, 25, 25, 405, 25, 10},
        {1106, 25, 50, 410, 15, 10}, {1107, 25, 65, 470, 35, 10},  {1108, 25, 105, 455, 25, 10},
        {1109, 25, 130, 440, 30, 10}, {1110, 25, 165, 450, 25, 10}, {1111, 25, 190, 445, 45, 10},
        {1113, 25, 235, 450, 40, 12}, {1114, 25, 285, 220, 15, 12}, {1115, 275, 280, 145, 20, 0},
    };
    ASSERT_EQ(w.controls.size(), std::size(rows));
    for (size_t k = 0; k < std::size(rows); ++k) {
        const Expected& e = rows[k];
        const ControlTemplate& c = w.controls[k];
        EXPECT_EQ(c.id, e.id) << "creation order at " << k;
        EXPECT_EQ(std::vector<int>({c.x, c.y, c.width, c.height}), std::vector<int>({e.x, e.y, e.width, e.height}))
            << c.id;
        if (e.pointSize == 0) {
            EXPECT_EQ(c.font, -1) << c.id;
        } else {
            ASSERT_GE(c.font, 0) << c.id;
            EXPECT_EQ(w.fonts[c.font].pointSize, e.pointSize) << c.id;
            EXPECT_FALSE(w.fonts[c.font].bold) << c.id;
            EXPECT_EQ(w.fonts[c.font].charset, 0) << c.id;
        }
        EXPECT_EQ(c.kind, e.id == 1115 ? ControlKind::Button : ControlKind::Label) << c.id;
        EXPECT_FALSE(c.text.empty()) << c.id;
    }
    EXPECT_EQ(w.find(1103)->text, "Hello");
    EXPECT_EQ(w.find(1115)->text, "Start");
}

TEST(WindowsIntro, OnlyStartClosesAndNothingChanges) {
    EXPECT_EQ(introWindowCallback(1115), WindowAction::Close);
    for (const auto& c : introWindowTemplate().controls) {
        if (c.id != 1115) {
            EXPECT_EQ(introWindowCallback(c.id), WindowAction::Continue) << c.id;
        }
    }
    EXPECT_EQ(introWindowCallback(2), WindowAction::Continue);  // the Escape key's id

    HeadlessPlatform platform;
    platform.clicksForNextWindow = {1103, 1111, 1115};
    showIntroWindow(platform);
    ASSERT_EQ(platform.shownWindows.size(), 1u);
    EXPECT_EQ(platform.shownWindows[0].find(1115)->text, "Start");
    EXPECT_TRUE(platform.textHistory.empty());
    EXPECT_TRUE(platform.controlEnabled.empty());
    EXPECT_TRUE(platform.mainWindowEnableHistory.empty());
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace quillstep

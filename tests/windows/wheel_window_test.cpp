// The "Wheel my numbers" window on the headless platform: the slip, the keys, the steps, the
// refusals of a malformed choice (nothing runs), and a wheel made, checked, written and saved
// again under another name.

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <set>
#include <vector>

#include "support/full_wheel.h"
#include "app/dispatch.h"
#include "app/main_window.h"
#include "windows/control_ids.h"
#include "files/system_file_reader.h"
#include "platform/headless/headless_platform.h"
#include "wheels/pool/wheel_check.h"
#include "windows/smaller_systems_choice.h"
#include "texts/wheel_making_texts.h"
#include "texts/wheel_request_texts.h"
#include "windows/wheel_window.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (int v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

// The tickets of a written wheel file, read back by the system-file reader.
std::vector<uint64_t> ticketsOfFile(const fs::path& path) {
    const SystemFileContents contents = readSystemFile(path);
    EXPECT_TRUE(contents.ok()) << contents.error;
    std::vector<uint64_t> tickets;
    for (const auto& combination : contents.combinations) tickets.push_back(combinationMask(combination));
    return tickets;
}

std::vector<int> slipClicks(std::initializer_list<int> numbers) {
    std::vector<int> clicks;
    for (int v : numbers) clicks.push_back(slipNumberButton(v));
    return clicks;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(WheelWindowTemplate, OwnIdsASlipOfThirtyNineAndEveryControlInside) {
    WheelChoice choice;
    choice.pool = maskOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    choice.keys = maskOf({3});
    choice.hits = 3;
    choice.drawn = 6;
    choice.timeLimitSeconds = 120;
    const WindowTemplate w = wheelWindowTemplate(choice);
    EXPECT_EQ(w.style, AUXILIARY_WINDOW_STYLE);
    EXPECT_FALSE(w.isMainWindow);
    std::set<int> mainIds;
    for (const auto& c : mainWindowTemplate().controls) mainIds.insert(c.id);
    std::set<int> ids;
    for (const auto& c : w.controls) {
        EXPECT_GE(c.id, 2400) << c.id;
        EXPECT_LE(c.id, 2499) << c.id;
        EXPECT_FALSE(mainIds.count(c.id)) << c.id;
        EXPECT_TRUE(ids.insert(c.id).second) << c.id << " twice";
        EXPECT_LE(c.x + c.width, w.width) << c.id;
        EXPECT_LE(c.y + c.height, w.height) << c.id;
    }
    // No two controls overlap.
    for (size_t a = 0; a < w.controls.size(); ++a)
        for (size_t b = a + 1; b < w.controls.size(); ++b) {
            const ControlTemplate &p = w.controls[a], &q = w.controls[b];
            const bool apart = p.x >= q.x + q.width || q.x >= p.x + p.width || p.y >= q.y + q.height ||
                               q.y >= p.y + p.height;
            EXPECT_TRUE(apart) << p.id << " overlaps " << q.id;
        }
    for (int n = 1; n <= 39; ++n) {
        const ControlTemplate* number = w.find(slipNumberButton(n));
        ASSERT_NE(number, nullptr) << n;
        EXPECT_EQ(number->kind, ControlKind::ToggleButton);
        EXPECT_EQ(number->text, n == 3 ? "3 key" : std::to_string(n));
        EXPECT_EQ(slipNumberOfButton(number->id), n);
    }
    EXPECT_EQ(slipNumberOfButton(WHEEL_MARK_KEYS), 0);
    EXPECT_EQ(slipNumberOfButton(WHEEL_EXPLANATION), 0);
    EXPECT_EQ(w.find(WHEEL_HITS_LABEL)->text, "3");
    EXPECT_EQ(w.find(WHEEL_DRAWN_LABEL)->text, "6");
    EXPECT_EQ(w.find(WHEEL_TIME_LABEL)->text, "120");
    EXPECT_EQ(w.find(WHEEL_CHOICE_LABEL)->text, "10 numbers chosen: 1-10. Key: 3.");
    EXPECT_EQ(w.find(WHEEL_MARK_KEYS)->kind, ControlKind::ToggleButton);
    EXPECT_EQ(w.find(WHEEL_START)->text, "Start");
    EXPECT_EQ(w.find(WHEEL_SAVE_AS)->text, "Save as...");
    EXPECT_EQ(w.find(WHEEL_CLOSE)->text, "Close");
}

TEST(WheelChoiceSteps, StayWithinTheirRangesAndTheTimeLimitsSteps) {
    WheelChoice choice;
    choice.hits = 2;
    EXPECT_FALSE(stepWheelHits(choice, false));
    EXPECT_EQ(choice.hits, 2);
    for (int t = 3; t <= 6; ++t) {
        EXPECT_TRUE(stepWheelHits(choice, true));
        EXPECT_EQ(choice.hits, t);
    }
    EXPECT_FALSE(stepWheelHits(choice, true));
    choice.drawn = 7;
    EXPECT_FALSE(stepWheelDrawn(choice, true));
    while (stepWheelDrawn(choice, false)) {}
    EXPECT_EQ(choice.drawn, 2);
    choice.timeLimitSeconds = TIME_LIMIT_STEPS.front();
    EXPECT_FALSE(stepWheelTimeLimit(choice, false));
    for (size_t k = 1; k < TIME_LIMIT_STEPS.size(); ++k) {
        EXPECT_TRUE(stepWheelTimeLimit(choice, true));
        EXPECT_EQ(choice.timeLimitSeconds, TIME_LIMIT_STEPS[k]);
    }
    EXPECT_FALSE(stepWheelTimeLimit(choice, true));
}

class WheelWindow : public ::testing::Test {
protected:
    void SetUp() override {
        state = createSharedState();
        ASSERT_NE(state, nullptr);
        folder = freshTestFolder("quillstep-wheel-window-");
        state->outputFolder = folder;
        maker = [this](const WheelMaking& making, const WriteObserver& observer) {
            ++wheelsMade;
            return makeWheel(making, observer);
        };
    }
    void TearDown() override { fs::remove_all(folder); }

    // The full wheel of the pool, written through the checked writer of wheel files, as makeWheel
    // writes the wheel its search found: a wheel known before the run, for the tests of the window's
    // own steps around the making.
    static WheelMade fullWheelMade(const WheelMaking& making, const WriteObserver& observer) {
        WheelMade made;
        made.search.requestFault = findWheelRequestFault(wheelOf(making.request));
        if (made.search.requestFault.refused()) return made;
        made.search.tickets = fullWheelOf(wheelOf(making.request));
        made.file = writeCheckedWheelFile({making.request, made.search.tickets, making.target, making.shownName}, {},
                                          observer);
        return made;
    }

    void open(std::vector<int> clicks) {
        platform.clicksForNextWindow = std::move(clicks);
        runWheelWindow(*state, platform, maker, choice);
    }

    std::unique_ptr<SharedState> state;
    HeadlessPlatform platform;
    WheelChoice choice;
    WheelMaker maker;
    int wheelsMade = 0;
    fs::path folder;
};

TEST_F(WheelWindow, TheSlipChoosesNumbersAndMarksKeysDistinctly) {
    open(slipClicks({5, 9, 12, 9}) + std::vector<int>{WHEEL_MARK_KEYS} + slipClicks({12, 30}));
    EXPECT_EQ(choice.pool, maskOf({5, 12}));
    EXPECT_EQ(choice.keys, maskOf({12, 30}));
    EXPECT_TRUE(choice.markingKeys);
    EXPECT_TRUE(platform.isWindowControlChecked(WHEEL_MARK_KEYS));
    EXPECT_TRUE(platform.isWindowControlChecked(slipNumberButton(5)));
    EXPECT_TRUE(platform.isWindowControlChecked(slipNumberButton(12)));
    EXPECT_FALSE(platform.isWindowControlChecked(slipNumberButton(9)));
    EXPECT_FALSE(platform.isWindowControlChecked(slipNumberButton(30)));  // a key, but not in the pool
    EXPECT_EQ(platform.windowText(slipNumberButton(12)), "12 key");
    EXPECT_EQ(platform.windowText(slipNumberButton(30)), "30 key");
    EXPECT_EQ(platform.windowText(slipNumberButton(5)), "5");
    EXPECT_EQ(platform.windowText(WHEEL_CHOICE_LABEL), "2 numbers chosen: 5, 12. Keys: 12 and 30.");
    EXPECT_EQ(wheelsMade, 0);

    // Clear empties the slip and the keys; the steps stay.
    open({WHEEL_HITS_UP, WHEEL_CLEAR_SLIP});
    EXPECT_EQ(choice.pool, 0u);
    EXPECT_EQ(choice.keys, 0u);
    EXPECT_EQ(choice.hits, 5);
    EXPECT_EQ(platform.windowText(WHEEL_HITS_LABEL), "5");
    for (int n = 1; n <= 39; ++n) {
        EXPECT_FALSE(platform.isWindowControlChecked(slipNumberButton(n))) << n;
        EXPECT_EQ(platform.windowText(slipNumberButton(n)), std::to_string(n));
    }
    EXPECT_EQ(platform.windowText(WHEEL_CHOICE_LABEL), "No numbers chosen yet: click them on the slip.");
    EXPECT_EQ(platform.windowText(WHEEL_GUARANTEE_LABEL),
              "5 if 5: when 5 of your numbers are drawn, some ticket holds at least 5 of them.");
}

// Each malformed choice is said in the window in the words of the refusal table, and nothing runs.
TEST_F(WheelWindow, AMalformedChoiceIsSaidAndNothingRuns) {
    struct Case {
        std::vector<int> clicks;
        const char* said;
    };
    const std::vector<int> eight = slipClicks({1, 2, 3, 4, 5, 6, 7, 8});
    const std::vector<int> markKeys{WHEEL_MARK_KEYS};
    const std::vector<Case> cases{
        {slipClicks({1, 2, 3, 4, 5, 6}), "a wheel needs at least 8 numbers in the pool, not 6"},
        {eight + std::vector<int>{WHEEL_HITS_UP, WHEEL_HITS_UP}, "6 if 5: the hits cannot be more than the numbers drawn"},
        {eight + markKeys + slipClicks({20}), "the key 20 is not in the pool"},
        {eight + markKeys + slipClicks({1, 2, 3, 4}), "4 keys given; a wheel takes at most 3"},
        {eight + markKeys + slipClicks({1, 2}) + std::vector<int>{WHEEL_HITS_DOWN, WHEEL_HITS_DOWN},
         "2 keys at 2 hits: every ticket holds the keys, so any one ticket gives the hits; give fewer keys or more hits"},
    };
    for (const Case& c : cases) {
        choice = WheelChoice{};
        open(c.clicks + std::vector<int>{WHEEL_START});
        EXPECT_EQ(platform.windowText(WHEEL_PROGRESS), std::string("Not started: ") + c.said + ".");
        EXPECT_EQ(platform.windowText(WHEEL_SIZE_LABEL), "");
        EXPECT_EQ(platform.windowText(WHEEL_FILE_LABEL), "");
        EXPECT_FALSE(platform.isWindowControlEnabled(WHEEL_SAVE_AS));
    }
    EXPECT_EQ(wheelsMade, 0);
    EXPECT_FALSE(fs::exists(folder / WHEEL_FILE_NAME));
}

TEST_F(WheelWindow, StartWritesACheckedWheelAndSaveAsWritesItAgain) {
    const fs::path other = folder / "my wheel.txt";
    platform.filesToSave = {other};
    open(slipClicks({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) +
         std::vector<int>{WHEEL_HITS_DOWN, WHEEL_DRAWN_DOWN, WHEEL_DRAWN_DOWN, WHEEL_TIME_DOWN, WHEEL_TIME_DOWN,
                          WHEEL_TIME_DOWN, WHEEL_TIME_DOWN, WHEEL_START, WHEEL_SAVE_AS});
    ASSERT_EQ(wheelsMade, 1);
    EXPECT_EQ(choice.timeLimitSeconds, 5);
    const WheelRequest request{maskOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 0, 3, 3};

    // The file the window names is the wheel, and the independent check accepts it.
    const std::vector<uint64_t> written = ticketsOfFile(folder / WHEEL_FILE_NAME);
    ASSERT_FALSE(written.empty());
    EXPECT_TRUE(checkWheel(wheelCoverRequest(request), written).covered());
    const int64_t size = static_cast<int64_t>(written.size());
    std::string expectedSize = "Size: " + ticketCountText(size);
    if (const std::string published = publishedWheelText(request); !published.empty()) {
        const std::string bound = publishedLowerBoundText(request);
        expectedSize += " (" + published + (bound.empty() ? "" : ", " + bound) + ")";
    }
    EXPECT_EQ(platform.windowText(WHEEL_SIZE_LABEL), expectedSize + ".");
    EXPECT_EQ(platform.windowText(WHEEL_FILE_LABEL), "File: mb_comb_file_wheel.txt, " + ticketCountText(size) +
                                                         ", checked over all 120 sets of drawn numbers.");
    EXPECT_EQ(platform.windowText(WHEEL_SHARES_LABEL),
              wheelDrawSharesText(profileAllDraws(written.data(), size, 39)));

    // "Save as..." asked for a name and wrote the same wheel there, checked and read back.
    ASSERT_EQ(platform.saveDialogTitles.size(), 1u);
    EXPECT_EQ(platform.saveDialogTitles[0], SAVE_WHEEL_FILE_TITLE);
    EXPECT_EQ(ticketsOfFile(other), written);
    EXPECT_EQ(platform.windowText(WHEEL_PROGRESS), "Saved as my wheel.txt: " + ticketCountText(size) + ".");
    EXPECT_TRUE(platform.isWindowControlEnabled(WHEEL_SAVE_AS));
    EXPECT_TRUE(platform.isWindowControlEnabled(WHEEL_START));
    EXPECT_TRUE(platform.mainWindowEnabled);
}

// Escape once the search has a wheel: the search ends long before its time limit, and the smallest
// wheel found is written, checked, and said to be kept.
TEST_F(WheelWindow, EscapeStopsTheSearchAndKeepsTheSmallestWheel) {
    platform.stopRequest = [this] {
        return platform.windowText(WHEEL_PROGRESS).find("Smallest wheel so far") != std::string::npos;
    };
    std::vector<int> clicks;
    for (int v = 1; v <= 20; ++v) clicks.push_back(slipNumberButton(v));
    for (int k = 0; k < 20; ++k) clicks.push_back(WHEEL_TIME_UP);
    clicks.push_back(WHEEL_START);
    open(clicks);
    EXPECT_EQ(choice.timeLimitSeconds, 600);
    const std::string size = platform.windowText(WHEEL_SIZE_LABEL);
    EXPECT_NE(size.find("Escape stopped the search: the smallest wheel found is kept."), std::string::npos) << size;
    const std::vector<uint64_t> kept = ticketsOfFile(folder / WHEEL_FILE_NAME);
    EXPECT_EQ(size.rfind("Size: " + ticketCountText(static_cast<int64_t>(kept.size())), 0), 0u) << size;
    EXPECT_TRUE(checkWheel(wheelCoverRequest({(uint64_t{1} << 21) - 2, 0, 4, 5}), kept).covered());
    EXPECT_TRUE(platform.isWindowControlEnabled(WHEEL_SAVE_AS));
}

// A wheel whose check fails is not written, its file label says why, and it cannot be saved.
TEST_F(WheelWindow, AWheelTheCheckRefusesIsNotWrittenNorSaved) {
    maker = [](const WheelMaking& making, const WriteObserver& observer) {
        WheelMade made;
        made.search.tickets = {fullWheelOf(wheelOf(making.request)).front()};  // one ticket: far from 4 if 5
        made.file = writeCheckedWheelFile({making.request, made.search.tickets, making.target, making.shownName},
                                          {}, observer);
        return made;
    };
    platform.filesToSave = {folder / "never.txt"};
    open(slipClicks({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) + std::vector<int>{WHEEL_START, WHEEL_SAVE_AS});
    const WheelRequest request{maskOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 0, 4, 5};
    const WheelCheck check = checkWheel(wheelCoverRequest(request), {maskOf({1, 2, 3, 4, 5, 6, 7})});
    ASSERT_GT(check.uncovered, 0);
    EXPECT_FALSE(fs::exists(folder / WHEEL_FILE_NAME));
    EXPECT_FALSE(fs::exists(folder / "never.txt"));
    EXPECT_TRUE(platform.saveDialogTitles.empty());
    EXPECT_EQ(platform.windowText(WHEEL_FILE_LABEL),
              "Not written: the check found " + std::to_string(check.uncovered) +
                  " sets of drawn numbers the wheel does not cover. The previous mb_comb_file_wheel.txt is unchanged.");
    EXPECT_EQ(platform.windowText(WHEEL_SIZE_LABEL), "The search's wheel of 1 ticket did not pass the independent check.");
    EXPECT_EQ(platform.windowText(WHEEL_SHARES_LABEL), "");
    EXPECT_FALSE(platform.isWindowControlEnabled(WHEEL_SAVE_AS));
}

// While the wheel is made the window's input is greyed out, its line shows the search's progress,
// and Escape (the platform's stop request) reaches the search; the time limit and the file's place
// are the window's.
TEST_F(WheelWindow, TheRunGreysTheInputShowsProgressAndPassesTheStopRequest) {
    int polls = 0;
    platform.stopRequest = [&polls] { return ++polls >= 2; };
    std::vector<std::string> progressSeen;
    maker = [&](const WheelMaking& making, const WriteObserver& observer) {
        EXPECT_EQ(making.request.timeLimitSeconds, 10.0);
        EXPECT_EQ(making.target, folder / WHEEL_FILE_NAME);
        EXPECT_EQ(making.shownName, WHEEL_FILE_NAME);
        for (int id : {slipNumberButton(1), slipNumberButton(39), WHEEL_MARK_KEYS, WHEEL_CLEAR_SLIP, WHEEL_HITS_UP,
                       WHEEL_DRAWN_DOWN, WHEEL_TIME_UP, WHEEL_START, WHEEL_SAVE_AS, WHEEL_CLOSE})
            EXPECT_FALSE(platform.isWindowControlEnabled(id)) << id;
        progressSeen.push_back(platform.windowText(WHEEL_PROGRESS));
        making.request.onProgress({14, 3.0, 6.2, 0});
        progressSeen.push_back(platform.windowText(WHEEL_PROGRESS));
        EXPECT_FALSE(making.request.stopRequested());
        EXPECT_TRUE(making.request.stopRequested());
        WheelMade made = fullWheelMade(making, observer);
        made.search.stopped = true;
        return made;
    };
    open(slipClicks({2, 4, 6, 8, 10, 12, 14, 16, 18}) +
         std::vector<int>{WHEEL_TIME_DOWN, WHEEL_TIME_DOWN, WHEEL_TIME_DOWN, WHEEL_MARK_KEYS} + slipClicks({4}) +
         std::vector<int>{WHEEL_START});
    EXPECT_EQ(progressSeen, (std::vector<std::string>{"No wheel found yet, 10 s left. Escape stops the search.",
                                                      "Smallest wheel so far: 14 tickets, 7 s left. Escape stops the search."}));
    EXPECT_EQ(platform.windowText(WHEEL_PROGRESS), WHEEL_WINDOW_READY_TEXT);
    // With a key the published rows do not apply; the size says Escape ended the search.
    EXPECT_EQ(platform.windowText(WHEEL_SIZE_LABEL),
              "Size: 28 tickets. Escape stopped the search: the smallest wheel found is kept.");  // C(8, 6) with the key
    EXPECT_EQ(platform.windowText(WHEEL_GUARANTEE_LABEL),
              "4 if 5: when 5 of your numbers are drawn, the key among them, some ticket holds at least 4 of them.");
    const WheelRequest request{maskOf({2, 4, 6, 8, 10, 12, 14, 16, 18}), maskOf({4}), 4, 5};
    EXPECT_TRUE(checkWheel(wheelCoverRequest(request), ticketsOfFile(folder / WHEEL_FILE_NAME)).covered());
    for (int id : {slipNumberButton(1), WHEEL_START, WHEEL_SAVE_AS, WHEEL_CLOSE})
        EXPECT_TRUE(platform.isWindowControlEnabled(id)) << id;
}

// The main window's button opens the window with the main window disabled meanwhile, with no store.
TEST_F(WheelWindow, TheMainWindowsButtonOpensIt) {
    platform.clicksForNextWindow = {WHEEL_CLEAR_SLIP, slipNumberButton(7), WHEEL_CLOSE};
    handleMainWindowCommand(*state, platform, WHEEL_MY_NUMBERS_BUTTON);
    ASSERT_FALSE(platform.shownWindows.empty());
    EXPECT_NE(platform.shownWindows.back().find(WHEEL_START), nullptr);
    EXPECT_EQ(platform.mainWindowEnableHistory, (std::vector<bool>{false, true}));
    EXPECT_TRUE(platform.isWindowControlChecked(slipNumberButton(7)));
    EXPECT_EQ(platform.windowText(WHEEL_CHOICE_LABEL), "1 number chosen: 7.");
}

}  // namespace
}  // namespace quillstep

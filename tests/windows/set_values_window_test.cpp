// The "Set values" window on the headless platform: its fields and ranges, what OK accepts and
// refuses, and that Cancel and bad text change nothing (tests/cli holds its agreement with the
// command line's parser).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "windows/set_values_form.h"
#include "windows/set_values_window.h"

namespace quillstep {
namespace {

int fieldOf(const std::string& captionStart) {
    for (int i = 0; i < SET_VALUES_FIELD_COUNT; ++i)
        if (std::string(SET_VALUES_FIELDS[i].caption).rfind(captionStart, 0) == 0) return i;
    ADD_FAILURE() << "no field " << captionStart;
    return 0;
}

// Types `typing` (field index, text) into the window, presses `finalButton` and returns what the
// window handed back.
std::optional<GenerationParameters> runWindow(HeadlessPlatform& platform, const GenerationParameters& current,
                                              const std::vector<std::pair<int, std::string>>& typing,
                                              std::vector<int> clicks) {
    for (const auto& [field, text] : typing) platform.typingForNextWindow.push_back({SET_VALUES_EDIT + field, text});
    platform.clicksForNextWindow = std::move(clicks);
    return showSetValuesWindow(platform, current);
}

TEST(SetValuesWindow, ShowsEveryParameterWithItsRange) {
    GenerationParameters current;
    current.minSum = 100;
    current.excludedNumbers = {0, 2, 4, 6, 8, 10, 12, 39, 0};
    const WindowTemplate w = setValuesWindowTemplate(current);
    ASSERT_EQ(SET_VALUES_FIELD_COUNT, 13);
    const std::vector<std::string> expectedTexts{"39", "7", "100", "150", "3", "4", "25", "2", "20", "1", "39", "3",
                                                 "2,4,6,8,10,12,39"};
    for (int i = 0; i < SET_VALUES_FIELD_COUNT; ++i) {
        const ControlTemplate* edit = w.find(SET_VALUES_EDIT + i);
        ASSERT_NE(edit, nullptr) << i;
        EXPECT_EQ(edit->kind, ControlKind::Edit);
        EXPECT_EQ(edit->text, expectedTexts[i]) << SET_VALUES_FIELDS[i].caption;
        ASSERT_NE(w.find(SET_VALUES_CAPTION + i), nullptr);
        EXPECT_EQ(w.find(SET_VALUES_CAPTION + i)->text, SET_VALUES_FIELDS[i].caption);
        // Every field reads what lies on its left and its range what lies on its right.
        EXPECT_LT(w.find(SET_VALUES_CAPTION + i)->x + w.find(SET_VALUES_CAPTION + i)->width, edit->x);
        EXPECT_LT(edit->x + edit->width, w.find(SET_VALUES_RANGE + i)->x);
        EXPECT_LE(w.find(SET_VALUES_RANGE + i)->x + w.find(SET_VALUES_RANGE + i)->width, w.width);
    }
    EXPECT_EQ(w.find(SET_VALUES_RANGE + fieldOf("Total"))->text, "8 to 39");
    EXPECT_EQ(w.find(SET_VALUES_RANGE + fieldOf("Min sum"))->text, "28 to 150 (at most max-sum)");
    EXPECT_EQ(w.find(SET_VALUES_RANGE + fieldOf("Max sum"))->text, "100 to 252 (at least min-sum)");
    EXPECT_EQ(w.find(SET_VALUES_RANGE + fieldOf("Min even"))->text, "0 to 4 (min-odd + min-even at most 7)");
    EXPECT_EQ(w.find(SET_VALUES_RANGE + fieldOf("Numbers in comb"))->text, "always 7");
    EXPECT_EQ(w.find(SET_VALUES_RANGE + fieldOf("Excluded"))->text,
              "seven numbers, strictly increasing, from 1 to 39");
    EXPECT_EQ(w.find(SET_VALUES_OK)->text, "OK");
    EXPECT_EQ(w.find(SET_VALUES_CANCEL)->text, "Cancel");
}

TEST(SetValuesWindow, RangesFollowTheValuesTyped) {
    HeadlessPlatform platform;
    const auto result =
        runWindow(platform, {}, {{fieldOf("Max sum"), "170"}, {fieldOf("Min odd"), "1"}, {fieldOf("Min sum"), "x"}}, {});
    EXPECT_FALSE(result);  // the window closed without OK
    EXPECT_EQ(platform.windowText(SET_VALUES_RANGE + fieldOf("Min sum")), "28 to 170 (at most max-sum)");
    // A field without a number counts with the value it had: min-sum 140.
    EXPECT_EQ(platform.windowText(SET_VALUES_RANGE + fieldOf("Max sum")), "140 to 252 (at least min-sum)");
    EXPECT_EQ(platform.windowText(SET_VALUES_RANGE + fieldOf("Min even")), "0 to 6 (min-odd + min-even at most 7)");
}

TEST(SetValuesWindow, OkHandsBackTheValuesTyped) {
    HeadlessPlatform platform;
    GenerationParameters current;
    const auto result = runWindow(platform, current,
                                  {{fieldOf("Total"), " 30 "},
                                   {fieldOf("Min sum"), "100"},
                                   {fieldOf("Max sum"), "180"},
                                   {fieldOf("Forced"), "30"},
                                   {fieldOf("Max number"), "30"},
                                   {fieldOf("Excluded"), "3, 9,12 ,20,25,26,27"}},
                                  {SET_VALUES_OK});
    ASSERT_TRUE(result);
    GenerationParameters expected = current;
    expected.totalNumbers = 30;
    expected.minSum = 100;
    expected.maxSum = 180;
    expected.forcedNumber = 30;
    expected.maxNumber = 30;
    expected.excludedNumbers = {0, 3, 9, 12, 20, 25, 26, 27, 0};
    EXPECT_EQ(result->totalNumbers, expected.totalNumbers);
    EXPECT_EQ(result->minSum, expected.minSum);
    EXPECT_EQ(result->maxSum, expected.maxSum);
    EXPECT_EQ(result->forcedNumber, expected.forcedNumber);
    EXPECT_EQ(result->maxNumber, expected.maxNumber);
    EXPECT_EQ(result->excludedNumbers, expected.excludedNumbers);
    EXPECT_EQ(result->minOdd, current.minOdd);
    EXPECT_EQ(result->rangeLimit, current.rangeLimit);
    EXPECT_EQ(platform.windowText(SET_VALUES_MESSAGE), "");
    // Enter does what OK does.
    EXPECT_TRUE(runWindow(platform, current, {{fieldOf("Min odd"), "2"}}, {1}));
}

TEST(SetValuesWindow, BadTextIsNamedAndNothingIsHandedBack) {
    struct Case {
        const char* field;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"Min sum", "1OO", "Min sum of numbers (min-sum) needs a whole number, got '1OO'"},
        {"Forced", "", "Forced number (forced) needs a whole number, got ''"},
        {"Numbers in comb", "seven", "Numbers in combination needs a whole number, got 'seven'"},
        {"Excluded", "1,2,3,4,5,6", "Excluded numbers (excluded) needs exactly seven numbers, got 6"},
        {"Excluded", "1,2,3;4,5,6,7", "Excluded numbers (excluded) needs seven whole numbers separated by commas, got '1,2,3;4,5,6,7'"},
        {"Min sum", "300", "--min-sum 300 is out of range: allowed 28 to 150 (at most max-sum)"},
        {"Min even", "5", "--min-even 5 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)"},
        {"Numbers in comb", "6", "numbers per combination must be 7"},
        {"Excluded", "1,2,3,3,5,6,7", "--excluded: entry 4 is 3, allowed 4 to 36 (seven numbers, strictly increasing, from 1 to 39)"},
    };
    for (const Case& c : cases) {
        HeadlessPlatform platform;
        // OK twice: the window stays open after a refusal, and a second OK is refused again.
        const auto result = runWindow(platform, {}, {{fieldOf(c.field), c.typed}}, {SET_VALUES_OK, SET_VALUES_OK});
        EXPECT_FALSE(result) << c.field << " " << c.typed;
        EXPECT_EQ(platform.windowText(SET_VALUES_MESSAGE), c.message);
    }
}

TEST(SetValuesWindow, CancelAndEscapeHandBackNothing) {
    for (const int cancel : {int{SET_VALUES_CANCEL}, 2}) {
        HeadlessPlatform platform;
        EXPECT_FALSE(runWindow(platform, {}, {{fieldOf("Min sum"), "100"}}, {cancel, SET_VALUES_OK}));
        EXPECT_EQ(platform.windowText(SET_VALUES_MESSAGE), "");
    }
}

}  // namespace
}  // namespace quillstep

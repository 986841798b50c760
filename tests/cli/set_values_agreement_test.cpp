// The "Set values" window and the command line agree on every state: one table of bounds, one
// message for a refused state.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "cli/options.h"
#include "platform/headless/headless_platform.h"
#include "windows/set_values_form.h"
#include "windows/set_values_window.h"

namespace quillstep {
namespace {

// Types `typing` (field index, text) into the window, presses `finalButton` and returns what the
// window handed back.
std::optional<GenerationParameters> runWindow(HeadlessPlatform& platform, const GenerationParameters& current,
                                              const std::vector<std::pair<int, std::string>>& typing,
                                              std::vector<int> clicks) {
    for (const auto& [field, text] : typing) platform.typingForNextWindow.push_back({SET_VALUES_EDIT + field, text});
    platform.clicksForNextWindow = std::move(clicks);
    return showSetValuesWindow(platform, current);
}

// The window and the command line agree on every state: a state the command line accepts is
// handed back as typed, and a refused one is refused with the command line's own message (the
// changed fields given in the window's order, as options in the same order).
TEST(SetValuesWindow, AcceptsAndRefusesAsTheCommandLineDoes) {
    std::mt19937 random(27);
    const char* options[] = {"total", nullptr, "min-sum", "max-sum", "min-odd", "min-even", "forced",
                             "range-count", "range-limit", "min-number", "max-number", "max-neighbours", "excluded"};
    int accepted = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        const GenerationParameters current;
        std::vector<std::pair<int, std::string>> typing;
        std::vector<std::string> arguments;
        std::vector<bool> chosen(SET_VALUES_FIELD_COUNT, false);
        const int changes = 1 + static_cast<int>(random() % 3);
        for (int k = 0; k < changes; ++k) chosen[random() % SET_VALUES_FIELD_COUNT] = true;
        chosen[1] = false;  // the numbers per combination have no option
        for (int i = 0; i < SET_VALUES_FIELD_COUNT; ++i) {
            if (!chosen[i]) continue;
            std::string text;
            if (i == SET_VALUES_FIELD_COUNT - 1) {
                int value = static_cast<int>(random() % 8);
                for (int e = 0; e < 7; ++e) {
                    value += static_cast<int>(random() % 8) - 1;
                    text += (e ? "," : "") + std::to_string(value);
                }
            } else {
                text = std::to_string(static_cast<int>(random() % 300) - 20);
            }
            // A value typed over with itself is no change, and the window does not blame it.
            if (text == setValuesTexts(current)[i]) text = "0" + text;
            typing.push_back({i, text});
            arguments.push_back(std::string("--") + options[i]);
            arguments.push_back(text);
        }
        arguments.push_back("run");
        arguments.push_back("1");
        std::string cliError;
        const auto cli = parseCommandLine(arguments, cliError);
        HeadlessPlatform platform;
        const auto window = runWindow(platform, current, typing, {SET_VALUES_OK});
        ASSERT_EQ(window.has_value(), cli.has_value()) << cliError;
        if (cli) {
            ++accepted;
            EXPECT_EQ(window->totalNumbers, cli->parameters.totalNumbers);
            EXPECT_EQ(window->minSum, cli->parameters.minSum);
            EXPECT_EQ(window->maxSum, cli->parameters.maxSum);
            EXPECT_EQ(window->minOdd, cli->parameters.minOdd);
            EXPECT_EQ(window->minEven, cli->parameters.minEven);
            EXPECT_EQ(window->forcedNumber, cli->parameters.forcedNumber);
            EXPECT_EQ(window->rangeCount, cli->parameters.rangeCount);
            EXPECT_EQ(window->rangeLimit, cli->parameters.rangeLimit);
            EXPECT_EQ(window->minNumber, cli->parameters.minNumber);
            EXPECT_EQ(window->maxNumber, cli->parameters.maxNumber);
            EXPECT_EQ(window->maxNeighbours, cli->parameters.maxNeighbours);
            EXPECT_EQ(window->excludedNumbers, cli->parameters.excludedNumbers);
        } else {
            ++refused;
            EXPECT_EQ(platform.windowText(SET_VALUES_MESSAGE), cliError);
        }
    }
    EXPECT_GT(accepted, 200);
    EXPECT_GT(refused, 300);
}

}  // namespace
}  // namespace quillstep

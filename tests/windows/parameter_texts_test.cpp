// The refusal of a state the up/down buttons cannot reach, as the command line and the "Set
// values" window word it from the one table of bounds.

#include "texts/parameter_texts.h"

#include <gtest/gtest.h>

namespace quillstep {
namespace {

TEST(WindowsParameterTexts, TheRefusalNamesTheFirstUnreachableParameterFromItsRow) {
    GenerationParameters p;
    EXPECT_EQ(refusedParameterMessage(p, {}, {}), "") << "the defaults are reachable";

    // Named from the same row, also when the option was not the one given.
    p.minEven = 5;  // beside min-odd 3: at most 4
    EXPECT_EQ(refusedParameterMessage(p, {}, {}),
              "--min-even 5 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)");

    p = GenerationParameters{};
    p.excludedNumbers[3] = 2;  // not above entry 2
    EXPECT_EQ(refusedParameterMessage(p, {}, {}),
              "--excluded: entry 3 is 2, allowed 3 to 35 (seven numbers, strictly increasing, from 1 to 39)");

    p = GenerationParameters{};
    p.numbersPerCombination = 6;
    EXPECT_EQ(refusedParameterMessage(p, {}, {}), "numbers per combination must be 7");
}

}  // namespace
}  // namespace quillstep

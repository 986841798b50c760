// The one table of the parameters' bounds: what the reachable-state check names, and how the
// steps' ranges follow from it.

#include "engine/parameters.h"

#include <gtest/gtest.h>

namespace quillstep {
namespace {

TEST(EngineParameterBounds, TheCheckNamesTheFirstParameterOutsideItsRange) {
    GenerationParameters p;
    EXPECT_EQ(findUnreachableParameter(p), std::nullopt);

    p.minEven = 5;  // beside min-odd 3: at most 4
    auto unreachable = findUnreachableParameter(p);
    ASSERT_TRUE(unreachable);
    ASSERT_NE(unreachable->bounds, nullptr);
    EXPECT_STREQ(unreachable->bounds->name, "min-even");
    EXPECT_EQ(unreachable->allowed.lowest, 0);
    EXPECT_EQ(unreachable->allowed.highest, 4);

    p = GenerationParameters{};
    p.excludedNumbers[3] = 2;  // not above entry 2
    unreachable = findUnreachableParameter(p);
    ASSERT_TRUE(unreachable);
    EXPECT_EQ(unreachable->bounds, nullptr);
    EXPECT_EQ(unreachable->excludedEntry, 3);
    EXPECT_EQ(unreachable->allowed.lowest, 3);
    EXPECT_EQ(unreachable->allowed.highest, 35);

    p = GenerationParameters{};
    p.numbersPerCombination = 6;
    unreachable = findUnreachableParameter(p);
    ASSERT_TRUE(unreachable);
    EXPECT_EQ(unreachable->bounds, nullptr);
    EXPECT_EQ(unreachable->excludedEntry, 0) << "not an excluded number";
    EXPECT_EQ(unreachable->allowed.lowest, 7);
    EXPECT_EQ(unreachable->allowed.highest, 7);
}

TEST(EngineParameterBounds, StepsStopAtTheTotalWhereTheStateNeedNot) {
    GenerationParameters p;
    p.totalNumbers = 20;  // lowered after the forced number and the largest number were set
    p.forcedNumber = 25;
    const ParameterBounds& forced = boundsOf(&GenerationParameters::forcedNumber);
    EXPECT_TRUE(allowedRange(forced, p).holds(25)) << "reachable: the total was lowered afterwards";
    EXPECT_EQ(stepRange(forced, p).highest, 20) << "but a step up stops at the total";
    const ParameterBounds& maxNumber = boundsOf(&GenerationParameters::maxNumber);
    EXPECT_EQ(stepRange(maxNumber, p).lowest, p.minNumber + 1);
    EXPECT_EQ(stepRange(maxNumber, p).highest, 20);
    EXPECT_EQ(allowedRange(maxNumber, p).highest, 39);
    // Excluded numbers step between their neighbours; a state needs room for the entries after.
    EXPECT_EQ(excludedStepRange(p, 7).highest, 39);
    EXPECT_EQ(excludedStepRange(p, 3).highest, 3);
    EXPECT_EQ(excludedRange(p, 3).highest, 35);
    for (const ParameterBounds& bounds : PARAMETER_BOUNDS)
        EXPECT_TRUE(allowedRange(bounds, GenerationParameters{}).holds(GenerationParameters{}.*bounds.field))
            << bounds.name << ": the defaults are reachable";
}

}  // namespace
}  // namespace quillstep

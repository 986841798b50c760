// Reading a wheel request from text: what is taken, and every refusal one by one with the field
// and the numbers it names, and the text the command line makes of it.

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <vector>

#include "wheels/pool/wheel_request.h"
#include "texts/wheel_request_texts.h"

namespace quillstep {
namespace {

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (int v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

uint64_t rangeMask(int a, int b) {
    uint64_t mask = 0;
    for (int v = a; v <= b; ++v) mask |= uint64_t{1} << v;
    return mask;
}

WheelRequestReading read(const char* pool, const char* keys, const char* hits, const char* drawn) {
    WheelRequestTexts texts;
    texts.pool = pool;
    texts.keysGiven = keys != nullptr;
    if (keys) texts.keys = keys;
    texts.hits = hits;
    texts.drawn = drawn;
    return readWheelRequest(texts);
}

TEST(WheelRequestReading, TakesNumbersRangesBlanksAndKeys) {
    const WheelRequestReading reading = read("1-15,22,30", nullptr, "4", "5");
    ASSERT_TRUE(reading.ok()) << wheelRefusalText(reading.refusal, COMMAND_LINE_WHEEL_FIELDS);
    EXPECT_EQ(reading.request.pool, rangeMask(1, 15) | maskOf({22, 30}));
    EXPECT_EQ(reading.request.keys, 0u);
    EXPECT_EQ(reading.request.hits, 4);
    EXPECT_EQ(reading.request.drawn, 5);

    const WheelRequestReading spaced = read(" 3, 7 ,11 - 20,39 ", "3,39", " 3 ", "7");
    ASSERT_TRUE(spaced.ok()) << wheelRefusalText(spaced.refusal, COMMAND_LINE_WHEEL_FIELDS);
    EXPECT_EQ(spaced.request.pool, maskOf({3, 7, 39}) | rangeMask(11, 20));
    EXPECT_EQ(spaced.request.keys, maskOf({3, 39}));

    EXPECT_TRUE(read("1-8", nullptr, "2", "2").ok());       // the smallest of everything
    EXPECT_TRUE(read("1-39", "1-3", "6", "7").ok());        // the largest
    EXPECT_TRUE(read("05-012", nullptr, "06", "7").ok());   // leading zeros
    EXPECT_TRUE(read("9-9,1-7", nullptr, "3", "3").ok());   // a range of one number
}

struct RefusalCase {
    const char* pool;
    const char* keys;  // null: not given
    const char* hits;
    const char* drawn;
    WheelFault fault;
    WheelField field;
    int first, second;
    const char* text;
};

TEST(WheelRequestReading, RefusesEachFaultWithItsFieldAndNumbers) {
    const RefusalCase cases[] = {
        {"", nullptr, "4", "5", WheelFault::ListEmpty, WheelField::Pool, 0, 0,
         "--pool needs numbers from 1 to 39 and ranges separated by commas, such as 1-15,22,30"},
        {"1-10", " ", "4", "5", WheelFault::ListEmpty, WheelField::Keys, 0, 0,
         "--keys needs numbers from 1 to 39 and ranges separated by commas, such as 1-15,22,30"},
        {"1-10,,12", nullptr, "4", "5", WheelFault::ItemEmpty, WheelField::Pool, 0, 0,
         "--pool: a comma with no number before or after it"},
        {"1-10,", nullptr, "4", "5", WheelFault::ItemEmpty, WheelField::Pool, 0, 0,
         "--pool: a comma with no number before or after it"},
        {"1-10,x", nullptr, "4", "5", WheelFault::NotNumber, WheelField::Pool, 0, 0,
         "--pool: 'x' is neither a number nor a range such as 11-20"},
        {"1-10,-3", nullptr, "4", "5", WheelFault::NotNumber, WheelField::Pool, 0, 0,
         "--pool: '-3' is neither a number nor a range such as 11-20"},
        {"1-10,12-", nullptr, "4", "5", WheelFault::NotNumber, WheelField::Pool, 0, 0,
         "--pool: '12-' is neither a number nor a range such as 11-20"},
        {"1-10,1.5", nullptr, "4", "5", WheelFault::NotNumber, WheelField::Pool, 0, 0,
         "--pool: '1.5' is neither a number nor a range such as 11-20"},
        {"1-10,40", nullptr, "4", "5", WheelFault::NumberOutOfRange, WheelField::Pool, 0, 0,
         "--pool: 40 is outside 1 to 39"},
        {"0-10", nullptr, "4", "5", WheelFault::NumberOutOfRange, WheelField::Pool, 0, 0, "--pool: 0 is outside 1 to 39"},
        {"1-99999999999999999999", nullptr, "4", "5", WheelFault::NumberOutOfRange, WheelField::Pool, 0, 0,
         "--pool: 99999999999999999999 is outside 1 to 39"},
        {"15-1", nullptr, "4", "5", WheelFault::RangeBackwards, WheelField::Pool, 15, 1,
         "--pool: the range 15-1 runs backwards (write 1-15)"},
        {"1-10,5", nullptr, "4", "5", WheelFault::NumberTwice, WheelField::Pool, 5, 0, "--pool: 5 is given twice"},
        {"1-10", "3,3", "4", "5", WheelFault::NumberTwice, WheelField::Keys, 3, 0, "--keys: 3 is given twice"},
        {"1-10", "44", "4", "5", WheelFault::NumberOutOfRange, WheelField::Keys, 0, 0, "--keys: 44 is outside 1 to 39"},
        {"1-10", nullptr, "1", "5", WheelFault::HitsOutOfRange, WheelField::Hits, 0, 0,
         "--hits needs a whole number from 2 to 6, got '1'"},
        {"1-10", nullptr, "7", "7", WheelFault::HitsOutOfRange, WheelField::Hits, 0, 0,
         "--hits needs a whole number from 2 to 6, got '7'"},
        {"1-10", nullptr, "four", "5", WheelFault::HitsOutOfRange, WheelField::Hits, 0, 0,
         "--hits needs a whole number from 2 to 6, got 'four'"},
        {"1-10", nullptr, "4", "8", WheelFault::DrawnOutOfRange, WheelField::Drawn, 0, 0,
         "--if needs a whole number from 2 to 7, got '8'"},
        {"1-10", nullptr, "4", "", WheelFault::DrawnOutOfRange, WheelField::Drawn, 0, 0,
         "--if needs a whole number from 2 to 7, got ''"},
        {"1-7", nullptr, "4", "5", WheelFault::PoolTooSmall, WheelField::Pool, 7, 0,
         "a wheel needs at least 8 numbers in the pool, not 7"},
        {"1-10", "1-4", "5", "6", WheelFault::TooManyKeys, WheelField::Keys, 4, 0, "4 keys given; a wheel takes at most 3"},
        {"1-10", "2,11", "4", "5", WheelFault::KeyOutsidePool, WheelField::Keys, 11, 0, "the key 11 is not in the pool"},
        {"1-10", nullptr, "5", "4", WheelFault::HitsAboveDrawn, WheelField::Hits, 5, 4,
         "5 if 4: the hits cannot be more than the numbers drawn"},
        {"1-10", "1-3", "2", "2", WheelFault::KeysAboveDrawn, WheelField::Keys, 3, 2,
         "3 keys cannot all be among 2 numbers drawn"},
        {"1-10", "1,2", "2", "5", WheelFault::KeysReachHits, WheelField::Keys, 2, 2,
         "2 keys at 2 hits: every ticket holds the keys, so any one ticket gives the hits; give fewer keys or more hits"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(std::string(c.pool) + " / " + (c.keys ? c.keys : "-") + " / " + c.hits + " if " + c.drawn);
        const WheelRequestReading reading = read(c.pool, c.keys, c.hits, c.drawn);
        EXPECT_FALSE(reading.ok());
        EXPECT_EQ(reading.refusal.fault, c.fault);
        EXPECT_EQ(reading.refusal.field, c.field);
        if (c.first != 0) {
            EXPECT_EQ(reading.refusal.first, c.first);
        }
        if (c.second != 0) {
            EXPECT_EQ(reading.refusal.second, c.second);
        }
        EXPECT_EQ(wheelRefusalText(reading.refusal, COMMAND_LINE_WHEEL_FIELDS), c.text);
    }
}

TEST(WheelRequestReading, EveryFaultHasAText) {
    for (int f = static_cast<int>(WheelFault::Missing); f <= static_cast<int>(WheelFault::KeysReachHits); ++f) {
        WheelRefusal refusal;
        refusal.fault = static_cast<WheelFault>(f);
        EXPECT_FALSE(wheelRefusalText(refusal, COMMAND_LINE_WHEEL_FIELDS).empty()) << f;
    }
}

TEST(WheelRequestReading, ARequestMadeAsDataIsCheckedByTheSameRules) {
    // The window builds its request from a play slip; the same rules refuse it.
    EXPECT_EQ(findWheelRequestFault({rangeMask(1, 10) | 1, 0, 4, 5}).fault, WheelFault::NumberOutOfRange);
    EXPECT_EQ(findWheelRequestFault({rangeMask(1, 10) | (uint64_t{1} << 40), 0, 4, 5}).fault,
              WheelFault::NumberOutOfRange);
    EXPECT_EQ(findWheelRequestFault({rangeMask(1, 10), maskOf({12}), 4, 5}).fault, WheelFault::KeyOutsidePool);
    EXPECT_EQ(findWheelRequestFault({rangeMask(1, 10), 0, 2, 1}).fault, WheelFault::DrawnOutOfRange);
    EXPECT_FALSE(findWheelRequestFault({rangeMask(1, 10), maskOf({1, 2, 3}), 4, 4}).refused());
}

TEST(WheelRequestReading, ListTextReadsBackAsTheSameNumbers) {
    EXPECT_EQ(numberListText(maskOf({3, 7}) | rangeMask(11, 20)), "3,7,11-20");
    EXPECT_EQ(numberListText(maskOf({1, 2, 4, 5, 6, 39})), "1,2,4-6,39");
    EXPECT_EQ(numbersText(maskOf({1, 2, 39})), "1,2,39");
    std::mt19937 random(5);
    for (int round = 0; round < 2000; ++round) {
        const uint64_t mask = (uint64_t{random()} << 32 | random()) & rangeMask(1, 39);
        if (mask == 0) continue;
        const NumberListReading again = readNumberList(numberListText(mask), WheelField::Pool);
        ASSERT_FALSE(again.refusal.refused()) << numberListText(mask);
        EXPECT_EQ(again.numbers, mask) << numberListText(mask);
    }
}

}  // namespace
}  // namespace quillstep

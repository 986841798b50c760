#pragma once
// A wheel on the player's own numbers: a pool of P numbers from 1..39 (7 < P <= 39, any numbers),
// up to three key numbers of the pool that every ticket holds, and the guarantee "t if m"
// (2 <= t <= m <= 7, t <= 6): for every m numbers of the pool that include all the keys, some
// ticket shares at least t of them. Every ticket is seven distinct numbers of the pool holding
// every key. Sets of numbers are 64-bit masks (bit v for number v).
//
// The request is read from text (a list of numbers and ranges such as "1-15,22,30", and the two
// whole numbers) by one function; what is wrong is a WheelRefusal, whose text the window and the
// command line make from one table (windows/wheel_request_texts).

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/lottery.h"
#include "wheels/cover/cover_request.h"

namespace quillstep {

constexpr int WHEEL_SMALLEST_POOL = 8;
constexpr int WHEEL_MOST_KEYS = 3;
constexpr int WHEEL_FEWEST_HITS = 2;
constexpr int WHEEL_MOST_HITS = 6;
constexpr int WHEEL_FEWEST_DRAWN = 2;
constexpr int WHEEL_MOST_DRAWN = NUMBERS_PER_COMBINATION;

struct WheelRequest {
    uint64_t pool = 0;  // the pool's numbers
    uint64_t keys = 0;  // the key numbers, a part of the pool
    int hits = 0;       // t
    int drawn = 0;      // m: "t if m"
};

// What a refusal is about: the field it names.
enum class WheelField { Pool, Keys, Hits, Drawn };

// Why a request is refused. The list faults name the field (pool or keys) and the item as typed.
enum class WheelFault {
    None,
    Missing,           // the field was not given
    ListEmpty,         // a list without any number
    ItemEmpty,         // nothing between two commas, or before or after one ("1,,3", "1-5,")
    NotNumber,         // an item that is neither a whole number nor a range a-b
    NumberOutOfRange,  // a number outside 1..39 (item: as typed)
    RangeBackwards,    // a-b with a > b (first, second)
    NumberTwice,       // a number the list holds twice (first)
    HitsOutOfRange,    // t not a whole number from 2 to 6 (item: as typed)
    DrawnOutOfRange,   // m not a whole number from 2 to 7 (item: as typed)
    PoolTooSmall,      // fewer than 8 numbers (first: how many)
    TooManyKeys,       // more than three keys (first: how many)
    KeyOutsidePool,    // a key the pool does not hold (first: the key)
    HitsAboveDrawn,    // t > m (first: t, second: m)
    KeysAboveDrawn,    // more keys than numbers drawn (first: keys, second: m)
    KeysReachHits,     // as many keys as hits or more: every ticket gives t hits alone (first: keys, second: t)
};

struct WheelRefusal {
    WheelFault fault = WheelFault::None;
    WheelField field = WheelField::Pool;
    std::string item;  // the item as typed, for the faults that echo it
    int first = 0;
    int second = 0;

    bool refused() const { return fault != WheelFault::None; }
};

// A list of whole numbers and ranges separated by commas ("1-15,22,30"; blanks around items and
// around the dash are allowed) read into a mask; `field` names the list in a refusal.
struct NumberListReading {
    uint64_t numbers = 0;
    WheelRefusal refusal;
};
NumberListReading readNumberList(std::string_view text, WheelField field);

// Whether the request is meaningful (pool size, keys, t and m): the first fault, or None.
WheelRefusal findWheelRequestFault(const WheelRequest& request);

// The covering request of a wheel: every m numbers of the pool holding every key, covered by
// tickets of any seven numbers of the pool holding every key. The caller adds the time limit,
// seed, threads, progress and stop.
CoverRequest wheelCoverRequest(const WheelRequest& wheel);
// The wheel a request on a pool asks for (its pool, keys, t and m).
WheelRequest wheelOf(const CoverRequest& request);

// The request as typed: the pool, the keys (empty when none are given: `keysGiven` false), t and
// m. The one reading of a request from text; the first fault found refuses it.
struct WheelRequestTexts {
    std::string_view pool;
    std::string_view keys;
    bool keysGiven = false;
    std::string_view hits;
    std::string_view drawn;
};
struct WheelRequestReading {
    WheelRequest request;
    WheelRefusal refusal;
    bool ok() const { return !refusal.refused(); }
};
WheelRequestReading readWheelRequest(const WheelRequestTexts& texts);

// The numbers of `mask` as a list in the form readNumberList takes, runs of three or more as
// ranges: "3,7,11-20".
std::string numberListText(uint64_t mask);

// The numbers of `mask`, ascending, separated by commas: "1,2,3".
std::string numbersText(uint64_t mask);

}  // namespace quillstep

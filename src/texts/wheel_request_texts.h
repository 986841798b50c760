#pragma once
// The texts of a refused wheel request and of a refused ticket, made from one table for the window
// and the command line alike. Each names the field as the caller calls it: the command line its
// options ("--pool"), the window its labels.

#include <string>

#include "wheels/pool/wheel_check.h"
#include "wheels/pool/wheel_request.h"

namespace quillstep {

// How the caller names the four fields of a request.
struct WheelFieldNames {
    const char* pool;
    const char* keys;
    const char* hits;
    const char* drawn;
};
extern const WheelFieldNames COMMAND_LINE_WHEEL_FIELDS;  // "--pool", "--keys", "--hits", "--if"
// The "Wheel my numbers" window's names: "the pool", "the keys", "hits", "numbers drawn".
extern const WheelFieldNames WINDOW_WHEEL_FIELDS;

// For example "--pool: 40 is outside 1 to 39", "a wheel needs at least 8 numbers in the pool, not
// 6", "4 if 3: the hits cannot be more than the numbers drawn".
std::string wheelRefusalText(const WheelRefusal& refusal, const WheelFieldNames& names);

// What is wrong with a ticket, after its numbers: "40 is not in the pool", "misses the key 7",
// "misses the keys 3 and 7", "holds 6 numbers, not seven".
std::string refusedTicketText(const RefusedTicket& ticket);

// The numbers of `mask` in prose: "7", "3 and 7", "3, 7 and 9".
std::string numbersInProse(uint64_t mask);

}  // namespace quillstep

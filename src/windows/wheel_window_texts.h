#pragma once
// What the "Wheel my numbers" window says: the slip's numbers, the choice, the guarantee in
// words, the search while it runs, and the wheel, its file and its wins over every draw at the
// end. Made here, from the choice and the results the commands return, for the window and for the
// command line alike.

#include <cstdint>
#include <string>

#include "usecases/wheel_making.h"
#include "wheels/check/draw_profile.h"
#include "windows/wheel_choice.h"

namespace quillstep {

constexpr const char* WHEEL_WINDOW_READY_TEXT =
    "Choose at least 8 numbers on the slip, the hits and the numbers drawn, then press Start.";
constexpr const char* MARK_KEYS_TEXT = "Mark keys";
constexpr const char* KEYS_HINT_TEXT =
    "While \"Mark keys\" is pressed in, a click marks a key number: one that every ticket holds (at most 3).";
constexpr const char* SAVE_WHEEL_FILE_TITLE = "Save the wheel as";
constexpr const char* SUGGESTED_WHEEL_FILE_NAME = "wheel.txt";

// A number of the slip: "7", or "7 key" when it is marked as a key.
std::string slipNumberText(int number, bool key);

// How many numbers are chosen and which are keys: "12 numbers chosen: 1-10, 22, 30. Keys: 3 and 7."
// or "No numbers chosen yet: click them on the slip."
std::string wheelChoiceText(const WheelChoice& choice);

// The guarantee in words: "4 if 5: when 5 of your numbers are drawn, some ticket holds at least 4
// of them." With keys: "... when 5 of your numbers are drawn, the keys among them, some ...".
std::string guaranteeMeaningText(const WheelChoice& choice);

// A refused choice, as a sentence: "Not started: a wheel needs at least 8 numbers in the pool,
// not 6."
std::string wheelChoiceRefusedText(const WheelRefusal& refusal);

// While the search runs: the smallest wheel so far and the whole seconds left.
std::string wheelProgressText(const CoverProgress& progress);

// Whether the independent check accepted the wheel (its file may still have failed to be written).
bool wheelPassedCheck(const WheelFileOutcome& outcome);

// "1 ticket", "9 tickets".
std::string ticketCountText(int64_t count);

// The wheel found and checked: "Size: 9 tickets (best published: 6, lower bound: 5)." (the
// published size of the request's row through windows/wheel_making_texts, as the command line
// says it) and whether Escape ended the search; or why there is none (also a wheel the check
// refused).
std::string wheelSizeText(const WheelMade& made, const WheelRequest& request);

// What the wheel wins on every draw of 1..39: "Of all 15380937 draws of 1 to 39, one ticket gets
// at least 3 hits on 12.34%, at least 4 hits on 1.23% and at least 5 hits on 0.05%."
std::string wheelDrawSharesText(const DrawProfile& profile);

// The file: "File: mb_comb_file_wheel.txt, 9 tickets, checked over all 252 sets of drawn
// numbers." or "Not written: <reason>. The previous <name> is unchanged.", the reason in the
// command line's words (wheelNotWrittenText).
std::string wheelFileText(const WheelMade& made);

// "Save as...": "Saved as <name>: 9 tickets." or "Not written: <reason>."
std::string wheelSavedAsText(const WheelMade& made);

}  // namespace quillstep

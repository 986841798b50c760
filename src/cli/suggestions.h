#pragma once
// Help for a mistyped or misplaced word of the command line: the names closest to a slip of the
// keyboard, lists of names in plain English, and a corrected line built from the user's own words.

#include <string>
#include <string_view>
#include <vector>

namespace quillstep {

// The fewest single-letter edits (a letter added, removed or replaced, or two neighbouring letters
// swapped) that turn `a` into `b`, capitals and small letters counting as the same.
size_t editDistance(std::string_view a, std::string_view b);

// The candidates nearest to `typed`, all of them when several are equally near, in the order
// given; none when the nearest is further than a slip (one edit for words of up to five letters,
// two for longer ones). A candidate given twice appears once.
std::vector<std::string> closestNames(std::string_view typed, const std::vector<std::string>& candidates);

// "a", "a or b", "a, b or c" (with `conjunction` "or"), "a, b and c" (with "and").
std::string namesInProse(const std::vector<std::string>& names, const char* conjunction);

// "; did you mean a or b?" for the closest names, or "" when there are none.
std::string didYouMean(const std::vector<std::string>& names);

// The line as one would type it again: "quillstep-cli" and the words, control bytes escaped and
// each word that a shell would split or expand in single quotes. A line longer than a message
// should hold shows only the words from `keyBegin` to `keyEnd`, with "..." for those left out.
std::string commandLineText(const std::vector<std::string>& words, size_t keyBegin, size_t keyEnd);

}  // namespace quillstep

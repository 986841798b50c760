#pragma once
// Text from outside the program (a typed argument, a file name, a field of a file) made safe to
// repeat in a one-line message: no control byte reaches the terminal as it is.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillstep {

constexpr size_t NO_ESCAPED_TEXT_LIMIT = static_cast<size_t>(-1);
// Longest echo of typed text in a one-line message, in bytes, before the text is cut and "..."
// appended (the command line's arguments, the window's edit fields).
constexpr size_t ECHOED_TEXT_LIMIT = 80;

// The text with every control character (below 0x20, and 0x7f) written as \xNN and a backslash as
// \\, cut after `limit` bytes (never inside a UTF-8 sequence) with "..." appended.
std::string escapedText(std::string_view text, size_t limit = NO_ESCAPED_TEXT_LIMIT);

}  // namespace quillstep

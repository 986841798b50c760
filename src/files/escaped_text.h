#pragma once
// Text from outside the program (a typed argument, a file name, a field of a file) made safe to
// repeat in a one-line message: no control byte or character reaches the terminal as it is.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillstep {

constexpr size_t NO_ESCAPED_TEXT_LIMIT = static_cast<size_t>(-1);
// Longest echo of typed text in a one-line message, in bytes, before the text is cut and "..."
// appended (the command line's arguments, the window's edit fields).
constexpr size_t ECHOED_TEXT_LIMIT = 80;

// The text with a backslash written as \\ and everything that does not print written out:
// - the control bytes below 0x20 and 0x7f, and every byte that is not part of well-formed UTF-8
//   (raw C1 bytes 0x80..0x9f among them, which terminals take for controls), as \xNN;
// - the characters of well-formed UTF-8 that do not print or turn the text around: the C1
//   controls U+0080..U+009F, the bidirectional controls (U+061C, U+200E, U+200F, U+202A..U+202E,
//   U+2066..U+2069), the line and paragraph separators and other invisible format characters
//   (U+00AD, U+180E, U+200B..U+200D, U+2028, U+2029, U+2060..U+2064, U+206A..U+206F, U+FEFF,
//   U+FFF9..U+FFFB), the noncharacters U+FFFE and U+FFFF and the tags U+E0000..U+E007F, as
//   \uXXXX (\UXXXXXXXX beyond U+FFFF);
// - every other character of well-formed UTF-8, letters of any script and symbols, as it is.
// The text is cut after `limit` bytes (never inside a UTF-8 sequence) with "..." appended.
std::string escapedText(std::string_view text, size_t limit = NO_ESCAPED_TEXT_LIMIT);

}  // namespace quillstep

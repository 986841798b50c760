#pragma once
// Text the user typed, made safe to repeat in a one-line message.

#include <string>

#include "files/escaped_text.h"  // ECHOED_TEXT_LIMIT

namespace quillstep {

// The text with every control character written as \xNN and a backslash as \\, cut after
// ECHOED_TEXT_LIMIT bytes (never inside a UTF-8 sequence) with "..." appended.
std::string echoedText(const std::string& typed);

}  // namespace quillstep

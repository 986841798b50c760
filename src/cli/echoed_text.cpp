#include "cli/echoed_text.h"

#include "files/escaped_text.h"

namespace quillstep {

std::string echoedText(const std::string& typed) { return escapedText(typed, ECHOED_TEXT_LIMIT); }

}  // namespace quillstep

#include "commands/escaped_text.h"

#include <cstdio>

namespace quillstep {
namespace {

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7f; }
bool isUtf8Continuation(unsigned char c) { return (c & 0xc0) == 0x80; }

}  // namespace

std::string escapedText(std::string_view text, size_t limit) {
    size_t end = text.size();
    const bool cut = end > limit;
    if (cut) {
        end = limit;
        while (end > 0 && isUtf8Continuation(static_cast<unsigned char>(text[end]))) --end;
    }
    std::string echo;
    for (size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            echo += "\\\\";
        } else if (isControl(c)) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            echo += escaped;
        } else {
            echo += static_cast<char>(c);
        }
    }
    return cut ? echo + "..." : echo;
}

}  // namespace quillstep

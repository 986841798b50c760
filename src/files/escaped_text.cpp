#include "files/escaped_text.h"

#include <cstdint>
#include <cstdio>

namespace quillstep {
namespace {

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7f; }
bool isUtf8Continuation(unsigned char c) { return (c & 0xc0) == 0x80; }

struct CodePointRange {
    uint32_t first, last;
};

// The characters that do not print, or that reorder or hide the text around them.
constexpr CodePointRange NOT_PRINTED[] = {
    {0x0080, 0x009F},    // C1 controls (U+009B is the terminals' CSI)
    {0x00AD, 0x00AD},    // soft hyphen
    {0x061C, 0x061C},    // Arabic letter mark
    {0x180E, 0x180E},    // Mongolian vowel separator
    {0x200B, 0x200F},    // zero-width characters, left-to-right and right-to-left marks
    {0x2028, 0x202E},    // line and paragraph separators, bidirectional embeddings and overrides
    {0x2060, 0x206F},    // word joiner, invisible operators, bidirectional isolates, deprecated formats
    {0xFEFF, 0xFEFF},    // zero-width no-break space (byte order mark)
    {0xFFF9, 0xFFFB},    // interlinear annotation controls
    {0xFFFE, 0xFFFF},    // noncharacters
    {0xE0000, 0xE007F},  // tags
};

bool isPrinted(uint32_t codePoint) {
    for (const CodePointRange& range : NOT_PRINTED)
        if (codePoint >= range.first && codePoint <= range.last) return false;
    return true;
}

// The length of the well-formed UTF-8 sequence at `at` (2 to 4 bytes) and its code point, or 0
// when the bytes there are no such sequence (a stray continuation byte, an overlong form, a
// surrogate, a code point beyond U+10FFFF, a sequence cut short).
size_t utf8SequenceAt(std::string_view text, size_t at, uint32_t& codePoint) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
    for (size_t k = 1; k < length; ++k) {
        if (!isUtf8Continuation(byte(k))) return 0;
        codePoint = (codePoint << 6) | (byte(k) & 0x3F);
    }
    return length;
}

void appendEscape(std::string& echo, const char* format, unsigned value) {
    char escaped[16];
    std::snprintf(escaped, sizeof escaped, format, value);
    echo += escaped;
}

}  // namespace

std::string escapedText(std::string_view text, size_t limit) {
    size_t end = text.size();
    const bool cut = end > limit;
    if (cut) {
        end = limit;
        while (end > 0 && isUtf8Continuation(static_cast<unsigned char>(text[end]))) --end;
    }
    const std::string_view kept = text.substr(0, end);
    std::string echo;
    for (size_t i = 0; i < kept.size();) {
        const auto c = static_cast<unsigned char>(kept[i]);
        if (c == '\\') {
            echo += "\\\\";
            ++i;
        } else if (c < 0x80) {
            if (isControl(c)) appendEscape(echo, "\\x%02x", c);
            else echo += static_cast<char>(c);
            ++i;
        } else {
            uint32_t codePoint = 0;
            const size_t length = utf8SequenceAt(kept, i, codePoint);
            if (length == 0) {
                appendEscape(echo, "\\x%02x", c);
                ++i;
            } else {
                if (isPrinted(codePoint)) echo.append(kept.substr(i, length));
                else appendEscape(echo, codePoint > 0xFFFF ? "\\U%08x" : "\\u%04x", codePoint);
                i += length;
            }
        }
    }
    return cut ? echo + "..." : echo;
}

}  // namespace quillstep

// Escaping text from outside before it reaches a terminal: control bytes, raw C1 bytes and bytes
// that are no UTF-8, the C1 and bidirectional control characters, and printable text kept as it is.

#include "files/escaped_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace quillstep {
namespace {

std::string utf8(uint32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

std::string codePointEscape(uint32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, c > 0xFFFF ? "\\U%08x" : "\\u%04x", static_cast<unsigned>(c));
    return text;
}

TEST(EscapedText, ControlAndC1BytesAndCharactersAreWrittenOut) {
    EXPECT_EQ(escapedText("a\x1b[2J\x07\\b\x7f"), "a\\x1b[2J\\x07\\\\b\\x7f");
    // Raw C1 bytes (0x9b is CSI to many terminals) and UTF-8's C1 characters.
    EXPECT_EQ(escapedText("x\x9b" "2J\x85\x90y"), "x\\x9b2J\\x85\\x90y");
    EXPECT_EQ(escapedText("x\xC2\x9B" "2J\xC2\x85"), "x\\u009b2J\\u0085");
    // Bidirectional overrides, isolates and marks, and other invisible characters.
    EXPECT_EQ(escapedText("evil\xE2\x80\xAEtxt.exe"), "evil\\u202etxt.exe");
    EXPECT_EQ(escapedText("\xE2\x81\xA6" "a\xE2\x81\xA9\xE2\x80\x8F\xEF\xBB\xBF\xE2\x80\xA8"),
              "\\u2066a\\u2069\\u200f\\ufeff\\u2028");
    EXPECT_EQ(escapedText("tag\xF3\xA0\x81\x81"), "tag\\U000e0041");
    // Bytes that are no well-formed UTF-8: overlong, surrogate, beyond U+10FFFF, cut short.
    EXPECT_EQ(escapedText("\xC0\xAF"), "\\xc0\\xaf");
    EXPECT_EQ(escapedText("\xED\xA0\x80"), "\\xed\\xa0\\x80");
    EXPECT_EQ(escapedText("\xF4\x90\x80\x80"), "\\xf4\\x90\\x80\\x80");
    EXPECT_EQ(escapedText("\xE2\x82"), "\\xe2\\x82");
    EXPECT_EQ(escapedText("\xE2\x82" "a"), "\\xe2\\x82a");
}

TEST(EscapedText, PrintableTextOfAnyScriptIsKept) {
    for (const char* text : {"plain.txt", "caf\xC3\xA9", "\xE2\x82\xAC 5", "\xE6\x97\xA5\xE6\x9C\xAC",
                             "\xF0\x9F\x98\x80", "\xC2\xA0" "nbsp", "\xEF\xBC\x91", "\xEF\xBF\xBD", "\xD7\xA9\xD7\x9C"})
        EXPECT_EQ(escapedText(text), text);
    // Cut after the limit, never inside a sequence.
    EXPECT_EQ(escapedText("ab\xC3\xA9" "cd", 3), "ab...");
    EXPECT_EQ(escapedText("ab\xC3\xA9" "cd", 4), "ab\xC3\xA9...");
    EXPECT_EQ(escapedText("a\xE2\x80\xAE" "bc", 4), "a\\u202e...");
}

TEST(EscapedText, EveryByteAndEveryCodePointComesOutPrintedOrEscaped) {
    // A byte alone: printable ASCII as it is, anything else (every byte from 0x80 is no UTF-8 alone)
    // escaped.
    for (int b = 0; b < 256; ++b) {
        const std::string in(1, static_cast<char>(b));
        char expected[8];
        std::snprintf(expected, sizeof expected, "\\x%02x", b);
        const bool printable = b >= 0x20 && b < 0x7f;
        EXPECT_EQ(escapedText(in), b == '\\' ? "\\\\" : printable ? in : std::string(expected)) << b;
    }
    // Every code point: as it is, or its escape; never a C1 or bidirectional control as it is.
    for (uint32_t c = 0x80; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string in = utf8(c);
        const std::string out = escapedText(in);
        ASSERT_TRUE(out == in || out == codePointEscape(c)) << std::hex << c;
        const bool mustEscape = c <= 0x9F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
                                c == 0x200E || c == 0x200F || c == 0x061C || c == 0x2028 || c == 0x2029;
        if (mustEscape) EXPECT_EQ(out, codePointEscape(c)) << std::hex << c;
        const bool letterOrSymbol = (c >= 0xA1 && c <= 0x2FF && c != 0xAD) || (c >= 0x4E00 && c <= 0x9FFF) ||
                                    (c >= 0x1F300 && c <= 0x1F5FF);
        if (letterOrSymbol) EXPECT_EQ(out, in) << std::hex << c;
    }
}

}  // namespace
}  // namespace quillstep

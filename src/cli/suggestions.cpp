#include "cli/suggestions.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "cli/echoed_text.h"

namespace quillstep {
namespace {

// Longest corrected line shown whole, in bytes.
constexpr size_t LINE_TEXT_LIMIT = 160;

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

size_t slipDistance(std::string_view typed) { return typed.size() <= 5 ? 1 : 2; }

// Whether a shell takes the word as it stands.
bool plainWord(const std::string& word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::string_view(",._/=:+-@%").find(c) != std::string_view::npos;
    });
}

std::string shellWord(const std::string& word) {
    const std::string echoed = echoedText(word);
    if (plainWord(echoed)) return echoed;
    std::string quoted = "'";
    for (const char c : echoed) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    quoted += '\'';
    return quoted;
}

std::string joined(const std::vector<std::string>& words, size_t begin, size_t end) {
    std::string text;
    for (size_t k = begin; k < end; ++k) {
        text += ' ';
        text += shellWord(words[k]);
    }
    return text;
}

}  // namespace

size_t editDistance(std::string_view a, std::string_view b) {
    // The table of distances between prefixes, with a border row and column of `far`; a swap of
    // two letters reaches back to the last row holding b's letter and the last column holding a's,
    // with the letters between them added or removed (Lowrance and Wagner).
    const size_t far = a.size() + b.size();
    const size_t width = b.size() + 2;
    std::vector<size_t> d((a.size() + 2) * width);
    const auto at = [&](size_t i, size_t j) -> size_t& { return d[i * width + j]; };
    at(0, 0) = far;
    for (size_t i = 0; i <= a.size(); ++i) {
        at(i + 1, 0) = far;
        at(i + 1, 1) = i;
    }
    for (size_t j = 0; j <= b.size(); ++j) {
        at(0, j + 1) = far;
        at(1, j + 1) = j;
    }
    std::array<size_t, 256> lastRowOf{};
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t lastColumn = 0;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t k = lastRowOf[static_cast<unsigned char>(lower(b[j - 1]))];
            const size_t l = lastColumn;
            const bool same = lower(a[i - 1]) == lower(b[j - 1]);
            if (same) lastColumn = j;
            at(i + 1, j + 1) = std::min({at(i, j) + (same ? 0 : 1), at(i + 1, j) + 1, at(i, j + 1) + 1,
                                         at(k, l) + (i - k - 1) + 1 + (j - l - 1)});
        }
        lastRowOf[static_cast<unsigned char>(lower(a[i - 1]))] = i;
    }
    return at(a.size() + 1, b.size() + 1);
}

std::vector<std::string> closestNames(std::string_view typed, const std::vector<std::string>& candidates) {
    size_t best = slipDistance(typed) + 1;
    std::vector<std::string> closest;
    for (const std::string& candidate : candidates) {
        const size_t distance = editDistance(typed, candidate);
        if (distance > best) continue;
        if (distance < best) closest.clear();
        best = distance;
        if (std::find(closest.begin(), closest.end(), candidate) == closest.end()) closest.push_back(candidate);
    }
    if (best > slipDistance(typed)) closest.clear();
    return closest;
}

std::string namesInProse(const std::vector<std::string>& names, const char* conjunction) {
    std::string text;
    for (size_t k = 0; k < names.size(); ++k) {
        if (k > 0 && k + 1 == names.size()) {
            text += ' ';
            text += conjunction;
            text += ' ';
        } else if (k > 0) {
            text += ", ";
        }
        text += names[k];
    }
    return text;
}

std::string didYouMean(const std::vector<std::string>& names) {
    if (names.empty()) return {};
    std::string text = "; did you mean ";
    text += namesInProse(names, "or");
    text += '?';
    return text;
}

std::string commandLineText(const std::vector<std::string>& words, size_t keyBegin, size_t keyEnd) {
    std::string whole = "quillstep-cli";
    whole += joined(words, 0, words.size());
    if (whole.size() <= LINE_TEXT_LIMIT) return whole;
    keyEnd = std::min(keyEnd, words.size());
    keyBegin = std::min(keyBegin, keyEnd);
    std::string shortened = "quillstep-cli";
    if (keyBegin > 0) shortened += " ...";
    shortened += joined(words, keyBegin, keyEnd);
    if (keyEnd < words.size()) shortened += " ...";
    return shortened;
}

}  // namespace quillstep

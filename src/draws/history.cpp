#include "draws/history.h"

#include <algorithm>
#include <cstdio>

namespace quillstep {

std::string isoDateText(const DrawDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(date.year), static_cast<int>(date.month),
                  static_cast<int>(date.day));
    return text;
}

PastDraw pastDrawOf(const std::array<int32_t, NUMBERS_PER_COMBINATION>& numbers) {
    PastDraw draw;
    draw.numbers = numbers;
    std::sort(draw.numbers.begin(), draw.numbers.end());
    for (const int32_t v : draw.numbers) draw.mask |= uint64_t{1} << v;
    return draw;
}

}  // namespace quillstep

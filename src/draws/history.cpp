#include "draws/history.h"

#include <cstdio>

namespace quillstep {

std::string isoDateText(const DrawDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(date.year), static_cast<int>(date.month),
                  static_cast<int>(date.day));
    return text;
}

}  // namespace quillstep

#include "texts/statistics_texts.h"

#include "files/number_text.h"

namespace quillstep {

std::string countingMessageText(int32_t combinationsCounted, double seconds) {
    return signedNumberText(combinationsCounted, 8) + " combinations counted in:" + signedNumberText(seconds, 18) +
           " seconds";
}

}  // namespace quillstep

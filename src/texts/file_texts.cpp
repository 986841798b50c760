#include "texts/file_texts.h"

#include "files/number_text.h"

namespace quillstep {

std::string fileWriteEndedMessage(const FileWriteResult& result) {
    if (!result.written)
        return "Could not write " + result.fileName + ": " + result.error + ". The previous " + result.fileName +
               " is unchanged.";
    return "We store combinations  in file " + result.fileName + " in " + signedNumberText(result.seconds, 15) +
           " seconds";
}

}  // namespace quillstep

#include "windows/file_reports.h"

#include "windows/control_ids.h"
#include "files/number_text.h"

namespace quillstep {

WriteObserver mainWindowWriteObserver(Platform& platform) {
    WriteObserver observer;
    observer.timeOfDaySeconds = [&platform] { return platform.timeOfDaySeconds(); };
    observer.onProgress = [&platform](int32_t rows) { platform.setControlText(TIME_LABEL, signedNumberText(rows, 10)); };
    observer.onEnded = [&platform](const FileWriteResult& result) {
        platform.showMessage(fileWriteEndedMessage(result));
        if (result.written) platform.setControlText(TIME_LABEL, maskedNumberText(result.seconds, "###.###############"));
    };
    return observer;
}

FileWriteResult writeCombinationFile(SharedState& state, Platform& platform) {
    return writeCombinationRows(state, mainWindowWriteObserver(platform));
}

}  // namespace quillstep

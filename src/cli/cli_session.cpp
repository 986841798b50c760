#include "cli/cli_session.h"

#include <iostream>

#include "texts/file_texts.h"

namespace quillstep {

void CliSession::echoMessage(const std::string& text) {
    if (progress) progress->endLine();
    std::cerr << "message: " << text << std::endl;
    if (afterMessage) afterMessage(text);
}

WriteObserver CliSession::writeObserver() {
    WriteObserver observer;
    observer.timeOfDaySeconds = clock;
    observer.onEnded = [this](const FileWriteResult& result) { echoMessage(fileWriteEndedMessage(result)); };
    return observer;
}

}  // namespace quillstep

#include "cli/output_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "cli/echoed_text.h"

namespace quillstep {

std::optional<std::string> findOutputFolderProblem(const std::filesystem::path& folder) {
    if (folder.empty()) return std::nullopt;
    const std::string named = "--output-dir '" + echoedText(folder.string()) + "'";
    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status)) return named + " does not exist";
    if (!std::filesystem::is_directory(status)) return named + " is not a folder";

    const std::filesystem::path probe =
        folder / (".quillstep-probe-" + std::to_string(std::random_device{}()) + ".tmp");
    errno = 0;
    std::FILE* file = std::fopen(probe.string().c_str(), "wbx");  // x: never an existing file
    if (!file) return named + " is not writable: " + (errno ? std::strerror(errno) : "cannot create a file");
    std::fclose(file);
    std::filesystem::remove(probe, error);
    return std::nullopt;
}

}  // namespace quillstep

#include "cli/output_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "cli/echoed_text.h"

namespace quillstep {
namespace {

// Why no file can be created in `folder`, or nothing: a probe file is created in it and removed
// at once.
std::optional<std::string> probeProblem(const std::filesystem::path& folder) {
    const std::filesystem::path probe =
        folder / (".quillstep-probe-" + std::to_string(std::random_device{}()) + ".tmp");
    errno = 0;
    std::FILE* file = std::fopen(probe.string().c_str(), "wbx");  // x: never an existing file
    if (!file) return std::string(errno ? std::strerror(errno) : "cannot create a file");
    std::fclose(file);
    std::error_code error;
    std::filesystem::remove(probe, error);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> findOutputFolderProblem(const std::filesystem::path& folder) {
    if (folder.empty()) return std::nullopt;
    const std::string named = "--output-dir '" + echoedText(folder.string()) + "'";
    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status)) return named + " does not exist";
    if (!std::filesystem::is_directory(status)) return named + " is not a folder";
    if (const auto problem = probeProblem(folder)) return named + " is not writable: " + *problem;
    return std::nullopt;
}

std::optional<std::string> findOutputFileProblem(const std::filesystem::path& file) {
    if (file.empty()) return std::nullopt;
    const std::string named = "--output '" + echoedText(file.string()) + "'";
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::status(file, error)))
        return named + " is a folder, not a file";
    if (!file.has_filename()) return named + " names no file";
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    const auto status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status)) return named + ": the folder '" + echoedText(folder.string()) + "' does not exist";
    if (!std::filesystem::is_directory(status))
        return named + ": '" + echoedText(folder.string()) + "' is not a folder";
    if (const auto problem = probeProblem(folder)) return named + ": the folder is not writable: " + *problem;
    return std::nullopt;
}

std::optional<std::string> findWorkingFolderProblem() {
    const auto problem = probeProblem(".");
    if (!problem) return std::nullopt;
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    const std::string named = error ? std::string("the working directory")
                                    : "the working directory '" + echoedText(current.string()) + "'";
    return named + " is not writable: " + *problem + " (--output-dir names another folder)";
}

}  // namespace quillstep

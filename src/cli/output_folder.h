#pragma once
// The folder that receives the files, checked before anything runs.

#include <filesystem>
#include <optional>
#include <string>

namespace quillstep {

// Why `folder` cannot receive the files (missing, not a folder, not writable), or nothing. The
// empty path is the working directory and is not checked: the window writes there too. To learn
// whether the folder is writable, a probe file is created in it and removed at once.
std::optional<std::string> findOutputFolderProblem(const std::filesystem::path& folder);

// Why `file` (a name given with --output, taken as given) cannot be written: its folder is
// missing, not a folder or not writable (probed as above), or the name is a folder; or nothing.
// The empty path is the command's own file and is not checked here.
std::optional<std::string> findOutputFileProblem(const std::filesystem::path& file);

// Why the working directory, where the files go without --output-dir, cannot receive them, or
// nothing; probed as above.
std::optional<std::string> findWorkingFolderProblem();

}  // namespace quillstep

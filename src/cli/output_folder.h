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

// Why the working directory, where the files go without --output-dir, cannot receive them, or
// nothing; probed as above.
std::optional<std::string> findWorkingFolderProblem();

}  // namespace quillstep

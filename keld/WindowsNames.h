#pragma once
// Names the installer gives to files and folders on the target machine, checked
// against what Windows can hold before anything is built: a ".." would climb out
// of the folder the name belongs in, a device name such as NUL opens the device
// instead of a file (and the uninstaller can never remove it), and Windows drops
// a trailing dot or blank, so that the recorded name and the file on disk differ.

#include <string>

namespace keld {

// Why Windows cannot hold `name` as one file or folder name; empty when it can.
std::string fileNameProblem(const std::string& name);

enum class PathForm {
    Relative, // below a folder the installer chooses: no root, no empty names
    Override, // a target override: may start at a drive or with a path variable,
              // and may end with a backslash (the file keeps its own name there)
};

// Why `path` (names joined by backslashes) cannot be one; empty when it can.
std::string pathProblem(const std::string& path, PathForm form = PathForm::Relative);

} // namespace keld

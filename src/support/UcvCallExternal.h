#pragma once
// The shell's folder browser, behind a seam that tests replace.

#include <string>

#include "platform/Seam.h"

namespace rz {

// Shows the shell's folder browser; directory is in/out.
bool BrowseForFolder(const std::string& caption, const std::string& root, std::string& directory);

// The shell's modal browser itself; directory is the preselection and the choice.
extern Seam<bool(const std::string& caption, const std::string& root, std::string& directory)> ShowFolderBrowser;

}  // namespace rz

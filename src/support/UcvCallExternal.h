#pragma once
// The shell's folder browser, behind a seam that tests replace.

#include <windows.h>

#include <string>

#include "platform/Seam.h"

namespace rz {

// Shows the shell's folder browser centred on owner, with prompt saying what
// to choose and a field for a typed or pasted path; directory is in/out.
bool BrowseForFolder(HWND owner, const std::string& prompt, const std::string& root, std::string& directory);

// The shell's modal browser itself; directory is the preselection and the choice.
extern Seam<bool(HWND owner, const std::string& prompt, const std::string& root, std::string& directory)>
    ShowFolderBrowser;

}  // namespace rz

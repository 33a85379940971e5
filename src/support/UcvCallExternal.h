#pragma once
// The shell's folder browser, behind a seam that tests replace.

#include <windows.h>

#include <string>

#include "platform/Seam.h"

namespace rz {

enum class FolderChoice { Cancelled, Folder, NoFolder };

// Shows the shell's folder browser centred on owner, with prompt saying what
// to choose and a field for a typed or pasted path; directory is in/out. A
// typed path wins over the selection; when it names no folder, directory
// holds it and the answer is NoFolder.
FolderChoice BrowseForFolder(HWND owner, const std::string& prompt, const std::string& root, std::string& directory);

// What the user chose in the browser: the selected folder, unless the field
// holds something else than the name the selection put there - a path,
// absolute or relative to the selection.
std::string TypedOrSelected(const std::string& selected, const std::string& typed, const std::string& shown);

// The shell's modal browser itself; directory is the preselection and the
// choice, typed or selected.
extern Seam<bool(HWND owner, const std::string& prompt, const std::string& root, std::string& directory)>
    ShowFolderBrowser;

}  // namespace rz

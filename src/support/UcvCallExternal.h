#pragma once

#include <functional>
#include <string>

namespace rz {

// Shows the shell's folder browser; directory is in/out.
bool BrowseForFolder(const std::string& caption, const std::string& root, std::string& directory);

// Tests replace the modal browser; an empty hook restores it.
using BrowseForFolderHook =
    std::function<bool(const std::string& caption, const std::string& root, std::string& directory)>;
void SetBrowseForFolderHook(BrowseForFolderHook hook);

}  // namespace rz

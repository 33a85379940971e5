#pragma once
// Reading a shell link (.lnk): its target, arguments, icon and the rest.

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace rz {

struct ShortcutInfo {
    std::string arguments;
    int showCommand = 0;
    std::string workingDirectory;
    LPITEMIDLIST idList = nullptr;  // owned by the record; freed by its destructor
    std::string target;             // short (8.3) form
    std::string description;
    std::string iconLocation;
    int iconIndex = 0;
    WORD hotKey = 0;

    ShortcutInfo() = default;
    ~ShortcutInfo();
    ShortcutInfo(const ShortcutInfo&) = delete;
    ShortcutInfo& operator=(const ShortcutInfo&) = delete;
};

// Loads and resolves a .lnk file; returns the first failing status, else S_OK.
// A link that loads but does not resolve still fills the record.
HRESULT ResolveShortcut(const std::string& path, ShortcutInfo& info);

}  // namespace rz

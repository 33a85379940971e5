#pragma once
// Reading a shell link (.lnk): its target, arguments, icon and the rest.

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "support/ShellCom.h"

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

// One shell link object for many shortcuts in a row: made anew for each,
// it would cost more than the reading.
class ShortcutReader {
public:
    ShortcutReader();
    // As ResolveShortcut.
    HRESULT Resolve(const std::string& path, ShortcutInfo& info);
    // The same loading and resolving, only the target (short form) and the
    // arguments read; each keeps its value when the link cannot give it.
    HRESULT ResolveTarget(const std::string& path, std::string& target, std::string& arguments);

private:
    // The status of loading, else of resolving; loaded tells which.
    HRESULT Load(const std::string& path, bool& loaded);
    ComApartment com_;
    HRESULT made_ = E_FAIL;
    com_ptr<IShellLinkW> link_;
    com_ptr<IPersistFile> file_;
};

}  // namespace rz

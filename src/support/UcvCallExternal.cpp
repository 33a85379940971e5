#include "support/UcvCallExternal.h"

#include <vector>

#include "platform/Application.h"
#include "support/ShellCom.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {


// Disables the thread's visible, enabled top-level windows for the life of a
// modal shell dialog, and enables exactly those again afterwards.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled() {
        ::EnumThreadWindows(::GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&windows_));
        for (HWND w : windows_) ::EnableWindow(w, FALSE);
    }
    ~TaskWindowsDisabled() {
        for (HWND w : windows_) {
            if (::IsWindow(w)) ::EnableWindow(w, TRUE);
        }
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND w, LPARAM list) {
        // No exception may unwind through the system's enumeration: out of
        // memory ends it with the windows collected so far.
        try {
            if (::IsWindowVisible(w) && ::IsWindowEnabled(w))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        } catch (...) {
            return FALSE;
        }
    }
    std::vector<HWND> windows_;
};

class ErrorModeScope {
public:
    explicit ErrorModeScope(UINT mode) : old_(::SetErrorMode(mode)) {}
    ~ErrorModeScope() { ::SetErrorMode(old_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    UINT old_;
};

int CALLBACK PreselectCallback(HWND dialog, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED) ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

bool ShowShellBrowser(const std::string& caption, const std::string& root, std::string& directory) {
    ComApartment com;
    unique_pidl rootList = root.empty() ? nullptr : ParsePath(root);
    char displayName[MAX_PATH] = "";
    BROWSEINFOA bi{};
    bi.hwndOwner = Application.Handle();
    bi.pidlRoot = rootList.get();
    bi.pszDisplayName = displayName;
    bi.lpszTitle = caption.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    if (!directory.empty()) {
        bi.lpfn = &PreselectCallback;
        bi.lParam = reinterpret_cast<LPARAM>(directory.c_str());
    }
    unique_pidl chosen;
    {
        TaskWindowsDisabled disabled;
        ErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
        chosen.reset(::SHBrowseForFolderA(&bi));
    }
    std::string path = chosen ? PathFromIdList(chosen.get()) : std::string();
    if (path.empty()) return false;
    directory = path;
    return true;
}

}  // namespace

Seam<bool(const std::string&, const std::string&, std::string&)> ShowFolderBrowser{&ShowShellBrowser};

bool BrowseForFolder(const std::string& caption, const std::string& root, std::string& directory) {
    if (!DirectoryExists(directory)) directory.clear();
    // The browser works on a copy: a cancelled one leaves directory as cleared above.
    std::string chosen = directory;
    bool ok = ShowFolderBrowser(caption, root, chosen);
    if (ok) directory = chosen;
    return ok;
}

}  // namespace rz

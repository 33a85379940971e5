#include "support/UcvCallExternal.h"

#include <algorithm>
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
            if (::IsWindowVisible(w) && ::IsWindowEnabled(w)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
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

struct BrowserStart {
    const char* preselect;
    HWND centreOn;
};

void CentreOn(HWND dialog, HWND owner) {
    RECT d{}, o{};
    if (!owner || !::GetWindowRect(dialog, &d) || !::GetWindowRect(owner, &o)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const int w = d.right - d.left, h = d.bottom - d.top;
    // Centred, but whole on the owner's screen.
    int x = (o.left + o.right - w) / 2, y = (o.top + o.bottom - h) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK BrowserCallback(HWND dialog, UINT msg, LPARAM, LPARAM data) {
    const auto* start = reinterpret_cast<const BrowserStart*>(data);
    if (msg == BFFM_INITIALIZED) {
        CentreOn(dialog, start->centreOn);
        if (start->preselect)
            ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start->preselect));
    } else if (msg == BFFM_VALIDATEFAILEDA) {
        // A typed path that is no folder: the browser stays open for another.
        ::MessageBeep(MB_ICONWARNING);
        return 1;
    }
    return 0;
}

bool ShowShellBrowser(HWND owner, const std::string& prompt, const std::string& root, std::string& directory) {
    ComApartment com;
    unique_pidl rootList = root.empty() ? nullptr : ParsePath(root);
    char displayName[MAX_PATH] = "";
    const BrowserStart start{directory.empty() ? nullptr : directory.c_str(), owner};
    BROWSEINFOA bi{};
    bi.hwndOwner = owner ? owner : Application.Handle();
    bi.pidlRoot = rootList.get();
    bi.pszDisplayName = displayName;
    bi.lpszTitle = prompt.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    bi.lpfn = &BrowserCallback;
    bi.lParam = reinterpret_cast<LPARAM>(&start);
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

Seam<bool(HWND, const std::string&, const std::string&, std::string&)> ShowFolderBrowser{&ShowShellBrowser};

bool BrowseForFolder(HWND owner, const std::string& prompt, const std::string& root, std::string& directory) {
    if (!DirectoryExists(directory)) directory.clear();
    // The browser works on a copy: a cancelled one leaves directory as cleared above.
    std::string chosen = directory;
    bool ok = ShowFolderBrowser(owner, prompt, root, chosen);
    if (ok) directory = chosen;
    return ok;
}

}  // namespace rz

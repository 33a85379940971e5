#include "support/UcvCallExternal.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/Application.h"
#include "support/ShellCom.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

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

struct BrowserState {
    const char* preselect;
    HWND centreOn;
    std::string shown;  // the selection's name, as the browser writes it into its field
    std::string typed;  // the field when OK was pressed
};

std::string FieldText(HWND dialog) {
    HWND field = ::FindWindowExA(dialog, nullptr, "Edit", nullptr);
    if (!field) return {};
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return FromWide(text, CP_UTF8);
}

std::string DisplayName(LPCITEMIDLIST item) {
    SHFILEINFOW info{};
    if (!item ||
        !::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_DISPLAYNAME))
        return {};
    return FromWide(info.szDisplayName, CP_UTF8);
}

// A field that stops at its width takes no long path: some browsers make
// theirs so. It is made again, alike but scrolling, in the same place.
void LetFieldScroll(HWND dialog) {
    HWND field = ::FindWindowExA(dialog, nullptr, "Edit", nullptr);
    const LONG style = field ? ::GetWindowLongA(field, GWL_STYLE) : ES_AUTOHSCROLL;
    if (style & ES_AUTOHSCROLL) return;
    RECT r{};
    ::GetWindowRect(field, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    HWND made = ::CreateWindowExW(::GetWindowLongA(field, GWL_EXSTYLE), L"Edit", L"", style | ES_AUTOHSCROLL, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(::GetDlgCtrlID(field))),
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!made) return;
    ::SendMessageA(made, WM_SETFONT, ::SendMessageA(field, WM_GETFONT, 0, 0), FALSE);
    // Where the old one stood in the order of the keyboard.
    HWND before = ::GetWindow(field, GW_HWNDPREV);
    ::SetWindowPos(made, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::DestroyWindow(field);
}

// Some browsers leave their field to the caller: it is read as OK is pressed.
LRESULT CALLBACK BrowserDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK) {
        try {
            reinterpret_cast<BrowserState*>(data)->typed = FieldText(dialog);
        } catch (...) {
            // Without the typed text the selection stands.
        }
    } else if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(dialog, &BrowserDialogProc, id);
    }
    return ::DefSubclassProc(dialog, msg, wp, lp);
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

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

int CALLBACK BrowserCallback(HWND dialog, UINT msg, LPARAM param, LPARAM data) {
    auto* state = reinterpret_cast<BrowserState*>(data);
    if (msg == BFFM_INITIALIZED) {
        CentreOn(dialog, state->centreOn);
        LetFieldScroll(dialog);
        ::SetWindowSubclass(dialog, &BrowserDialogProc, 1, reinterpret_cast<DWORD_PTR>(state));
        if (state->preselect)
            ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(state->preselect));
    } else if (msg == BFFM_SELCHANGED) {
        try {
            state->shown = DisplayName(reinterpret_cast<LPCITEMIDLIST>(param));
        } catch (...) {
            state->shown.clear();
        }
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
    BrowserState state{directory.empty() ? nullptr : directory.c_str(), owner, {}, {}};
    BROWSEINFOA bi{};
    bi.hwndOwner = owner ? owner : Application.Handle();
    bi.pidlRoot = rootList.get();
    bi.pszDisplayName = displayName;
    bi.lpszTitle = prompt.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    bi.lpfn = &BrowserCallback;
    bi.lParam = reinterpret_cast<LPARAM>(&state);
    unique_pidl chosen;
    {
        TaskWindowsDisabled disabled;
        ErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
        chosen.reset(::SHBrowseForFolderA(&bi));
    }
    if (!chosen) return false;
    const std::string path = TypedOrSelected(PathFromIdList(chosen.get()), state.typed, state.shown);
    if (path.empty()) return false;
    directory = path;
    return true;
}

}  // namespace

Seam<bool(HWND, const std::string&, const std::string&, std::string&)> ShowFolderBrowser{&ShowShellBrowser};

std::string TypedOrSelected(const std::string& selected, const std::string& typed, const std::string& shown) {
    // Blanks around and the quotes of a pasted path are not part of it.
    const size_t first = typed.find_first_not_of(" \t\"");
    if (first == std::string::npos) return selected;
    const std::string text = typed.substr(first, typed.find_last_not_of(" \t\"") + 1 - first);
    const std::string bare = selected.substr(0, selected.find_last_not_of('\\') + 1);
    const std::string selectedName = bare.substr(bare.find_last_of("\\:") + 1);
    if (text == shown || LowerCase(text) == LowerCase(selectedName)) return selected;
    if ((text.size() >= 2 && text[1] == ':') || StartsWith(text, "\\\\")) return text;
    if (selected.empty()) return text;
    if (text[0] == '\\') return selected.substr(0, 2) + text;
    return WithTrailingBackslash(selected) + text;
}

FolderChoice BrowseForFolder(HWND owner, const std::string& prompt, const std::string& root, std::string& directory) {
    if (!DirectoryExists(directory)) directory.clear();
    // The browser works on a copy: a cancelled one leaves directory as cleared above.
    std::string chosen = directory;
    if (!ShowFolderBrowser(owner, prompt, root, chosen)) return FolderChoice::Cancelled;
    directory = chosen;
    return DirectoryExists(chosen) ? FolderChoice::Folder : FolderChoice::NoFolder;
}

}  // namespace rz

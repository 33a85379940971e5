#include "ProgramRun.h"

#include <commctrl.h>

#include <cstring>

#include "platform/TextCodePage.h"

namespace rztest {

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kSendMs = 5000;
// Closing after a save reloads the store: without a window manager Wine waits
// 2 s for each window hidden on the way, about 4 s in all.
constexpr DWORD kClickMs = 15000;
constexpr DWORD kKillWaitMs = 5000;
constexpr char kInstanceName[] = "{0C462EFB-02B9-4314-80A4-DA95904F9B9F}";

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

std::string TextOf(HWND hwnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

struct WindowQuery {
    DWORD pid;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto& q = *reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == q.pid && (!q.className || ClassOf(hwnd) == q.className) && (!q.title || TextOf(hwnd) == q.title))
        q.found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM param) {
    if (lstrcmpiA(ClassOf(hwnd).c_str(), "Static") == 0 && ::GetWindowTextLengthA(hwnd) > 0)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

struct TitledQuery {
    DWORD pid;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindVisibleTitled(HWND hwnd, LPARAM param) {
    auto& q = *reinterpret_cast<TitledQuery*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != q.pid || !::IsWindowVisible(hwnd) || TextOf(hwnd) != q.title) return TRUE;
    q.found = hwnd;
    return FALSE;
}

struct ChildQuery {
    const char* className;
    const char* text;
    HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
    auto& q = *reinterpret_cast<ChildQuery*>(param);
    if (lstrcmpiA(ClassOf(hwnd).c_str(), q.className) != 0 || (q.text && TextOf(hwnd) != q.text)) return TRUE;
    q.found = hwnd;
    return FALSE;
}

}  // namespace

const char* ProgramPath() { return RZ_E2E_PROGRAM_PATH; }

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeoutMs) return done();
        ::Sleep(kPollMs);
    }
    return true;
}

RunningProgram::RunningProgram(const std::string& exePath, const std::string& workDir, const std::string& arguments) {
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(),
                          &si, &pi)) {
        startError_ = ::GetLastError();
        return;
    }
    ::CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    id_ = pi.dwProcessId;
}

RunningProgram::~RunningProgram() { Kill(); }

bool RunningProgram::Running() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> RunningProgram::WaitForExit(DWORD timeoutMs) const {
    if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

void RunningProgram::Kill() {
    if (!Running()) return;
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), kKillWaitMs);
}

std::vector<HWND> ProcessWindows(DWORD pid, const char* className, const char* title) {
    WindowQuery query{pid, className, title, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string MessageBoxText(HWND box) {
    char text[8192] = {};
    if (::GetDlgItem(box, 0xFFFF) && ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text)) > 0) return text;
    // Not every message box implementation numbers its text control 0xFFFF.
    std::vector<HWND> statics;
    ::EnumChildWindows(box, &CollectStatic, reinterpret_cast<LPARAM>(&statics));
    return statics.size() == 1 ? TextOf(statics.front()) : std::string();
}

std::vector<std::string> AnswerBoxesUntilExit(const RunningProgram& program, DWORD timeoutMs) {
    std::vector<std::string> shown;
    WaitUntil(
        [&] {
            for (HWND box : ProcessWindows(program.Id(), "#32770")) {
                if (!::IsWindowVisible(box)) continue;
                shown.push_back(MessageBoxText(box));
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                ::Sleep(200);
            }
            return !program.Running();
        },
        timeoutMs);
    return shown;
}

void ExpectNoErrorShown(const RunningProgram& program, const TempDir& dataDir) {
    EXPECT_TRUE(ProcessWindows(program.Id(), "#32770").empty()) << "the program shows a message box";
    EXPECT_FALSE(FileExists(dataDir / "errorlog.txt")) << ReadFile(dataDir / "errorlog.txt");
}

std::optional<DWORD> ReadInstanceMapping() {
    rz::unique_handle_kernel mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, kInstanceName));
    if (!mapping) return std::nullopt;
    rz::unique_view view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 4));
    return view ? *static_cast<const DWORD*>(view.get()) : 0;
}

void PressKeys(const std::vector<WORD>& down) {
    std::vector<INPUT> inputs;
    for (WORD vk : down) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        inputs.push_back(in);
    }
    for (auto it = down.rbegin(); it != down.rend(); ++it) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Mouse(POINT at, DWORD button) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
    ::SendInput(1, &in, sizeof(in));
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT in[2]{};
        for (INPUT& key : in) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = c;
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
    }
}

HWND VisibleWindow(DWORD pid, const char* className, const char* title) {
    for (HWND hwnd : ProcessWindows(pid, className, title))
        if (::IsWindowVisible(hwnd)) return hwnd;
    return nullptr;
}

void TypeText(const std::string& utf8) { TypeText(rz::ToUtf16(utf8)); }

int ExpandedTreeCount(HWND tree, DWORD timeoutMs) {
    auto send = [&](UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR& out) {
        return tree && ::SendMessageTimeoutA(tree, msg, wp, lp, SMTO_ABORTIFHUNG, timeoutMs, &out) != 0;
    };
    DWORD_PTR item = 0, ignored = 0, count = 0;
    if (!send(TVM_GETNEXTITEM, TVGN_ROOT, 0, item)) return -1;
    std::vector<DWORD_PTR> pending;
    if (item) pending.push_back(item);
    while (!pending.empty()) {
        item = pending.back();
        pending.pop_back();
        DWORD_PTR next = 0, child = 0;
        if (!send(TVM_EXPAND, TVE_EXPAND, static_cast<LPARAM>(item), ignored) ||
            !send(TVM_GETNEXTITEM, TVGN_NEXT, static_cast<LPARAM>(item), next) ||
            !send(TVM_GETNEXTITEM, TVGN_CHILD, static_cast<LPARAM>(item), child))
            return -1;
        if (next) pending.push_back(next);
        if (child) pending.push_back(child);
    }
    return send(TVM_GETCOUNT, 0, 0, count) ? static_cast<int>(count) : -1;
}

std::vector<HWND> VisibleMenus(DWORD pid) {
    std::vector<HWND> visible;
    for (HWND menu : ProcessWindows(pid, "#32768"))
        if (::IsWindowVisible(menu)) visible.push_back(menu);
    return visible;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

std::string WindowsDir() {
    char dir[MAX_PATH] = {};
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    std::string path = dir;
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

namespace {

BOOL CALLBACK FindSave(HWND child, LPARAM param) {
    char text[32] = {};
    ::GetWindowTextA(child, text, sizeof(text));
    if (ClassOf(child) != "Button" || std::string(text) != "S&ave") return TRUE;
    reinterpret_cast<SaveButton*>(param)->button = child;
    return FALSE;
}

BOOL CALLBACK FindTree(HWND child, LPARAM param) {
    if (lstrcmpiA(ClassOf(child).c_str(), WC_TREEVIEWA) != 0) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

struct SaveQuery {
    DWORD pid;
    SaveButton found;
};

BOOL CALLBACK FindManager(HWND top, LPARAM param) {
    auto& query = *reinterpret_cast<SaveQuery*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(top, &owner);
    if (owner != query.pid) return TRUE;
    SaveButton candidate{top, nullptr};
    ::EnumChildWindows(top, &FindSave, reinterpret_cast<LPARAM>(&candidate));
    if (!candidate.button) return TRUE;
    query.found = candidate;
    return FALSE;
}

}  // namespace

SaveButton FindSaveButton(DWORD pid) {
    SaveQuery query{pid, {}};
    ::EnumWindows(&FindManager, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

int ManagerTreeCount(HWND manager) {
    if (!manager) return -1;
    HWND tree = nullptr;
    ::EnumChildWindows(manager, &FindTree, reinterpret_cast<LPARAM>(&tree));
    return tree ? ExpandedTreeCount(tree, 1000) : -1;
}

HWND OpenMenuByHotkey(const RunningProgram& program, DWORD totalMs, DWORD repressMs, const std::function<bool()>& ready,
                      const std::vector<WORD>& keys) {
    HWND menu = nullptr;
    const DWORD start = ::GetTickCount();
    while (!menu && program.Running() && ::GetTickCount() - start < totalMs) {
        if (ready && !ready()) break;
        PressKeys(keys);
        WaitUntil(
            [&] {
                const auto menus = VisibleMenus(program.Id());
                menu = menus.empty() ? nullptr : menus.front();
                return menu || !program.Running();
            },
            repressMs);
    }
    return menu;
}

void ProgramCopyTest::SetUp() {
    ASSERT_TRUE(FileExists(ProgramPath())) << "program not built at " << ProgramPath();
    ASSERT_FALSE(ReadInstanceMapping().has_value())
        << "an instance started elsewhere is still running; these tests need the name free";
    ASSERT_TRUE(::CopyFileA(ProgramPath(), exe_.c_str(), FALSE)) << ::GetLastError();
}

// The program's visible top-level window with this caption, whatever its class.
HWND VisibleWindow(DWORD pid, const char* title) {
    TitledQuery query{pid, title, nullptr};
    ::EnumWindows(&FindVisibleTitled, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND ChildOf(HWND parent, const char* className, const char* text) {
    ChildQuery query{className, text, nullptr};
    ::EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::optional<DWORD_PTR> Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, kSendMs, &result)) return std::nullopt;
    return result;
}

std::optional<std::string> StatusBarText(HWND bar) {
    const std::optional<DWORD_PTR> length = Send(bar, SB_GETTEXTLENGTHA, 0, 0);
    if (!length) return std::nullopt;
    const size_t size = LOWORD(*length) + 1;
    RemoteMemory remote(bar, size);
    std::string text(size, '\0');
    if (!remote || !Send(bar, SB_GETTEXTA, 0, remote.At()) || !remote.Read(text.data(), size)) return std::nullopt;
    text.resize(std::strlen(text.c_str()));
    return text;
}

// An edit's text; the system carries WM_GETTEXT into the other process.
std::string FieldText(HWND field) {
    char text[512] = {};
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutA(field, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                               kSendMs, &ignored))
        return "<unreadable>";
    return text;
}

// The entry on a row of the tree's top level (the anchor is row 0), or null.
HTREEITEM TopItem(HWND tree, int row) {
    DWORD_PTR item = Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0).value_or(0);
    for (int i = 0; i < row && item; ++i) item = Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, item).value_or(0);
    return reinterpret_cast<HTREEITEM>(item);
}

HTREEITEM Selected(HWND tree) {
    return reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0).value_or(0));
}

bool DropHighlighted(HWND tree) { return Send(tree, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0).value_or(0) != 0; }

std::string ItemText(HWND tree, HTREEITEM item) {
    constexpr size_t kText = 260;
    RemoteMemory remote(tree, sizeof(TVITEMA) + kText);
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = reinterpret_cast<char*>(remote.At(sizeof(TVITEMA)));
    query.cchTextMax = kText;
    char text[kText] = "<unreadable>";
    if (!remote || !remote.Write(&query, sizeof(query)) || !Send(tree, TVM_GETITEMA, 0, remote.At()).value_or(0) ||
        !remote.Read(text, kText, sizeof(TVITEMA)))
        return "<unreadable>";
    text[kText - 1] = '\0';
    return text;
}

// The middle of an entry's caption on the screen.
POINT ItemPoint(HWND tree, HTREEITEM item) {
    RECT r{};
    std::memcpy(&r, &item, sizeof(item));  // the rectangle goes in carrying the item
    RemoteMemory remote(tree, sizeof(r));
    POINT p{-1, -1};
    if (remote && remote.Write(&r, sizeof(r)) && Send(tree, TVM_GETITEMRECT, TRUE, remote.At()).value_or(0) &&
        remote.Read(&r, sizeof(r))) {
        p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(tree, &p);
    }
    return p;
}

// Sent, not posted: the click's handler has run when this returns.
SIZE WindowSize(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

bool ClickButton(HWND button) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kClickMs, &ignored) != 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start) + " <no CR LF>");
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::string TakeMarkerLine(const std::string& marker, DWORD timeoutMs) {
    std::string text;
    WaitUntil(
        [&] {
            text = FileExists(marker) ? ReadFile(marker) : "";
            return text.find("\r\n") != std::string::npos;
        },
        timeoutMs);
    ::DeleteFileA(marker.c_str());
    return text;
}

}  // namespace rztest

#include "ProgramRun.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "platform/Bitmap.h"
#include "platform/TextCodePage.h"

namespace rztest {

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kSendMs = 5000;
// Closing after a save reloads the store: without a window manager Wine waits
// 2 s for each window hidden on the way, about 4 s in all.
constexpr DWORD kClickMs = 15000;
constexpr DWORD kKillWaitMs = 5000;
// A Unix program's start from a Wine process takes a moment of its own.
constexpr DWORD kXdotoolMs = 10000;
constexpr char kInstanceName[] = "{0C462EFB-02B9-4314-80A4-DA95904F9B9F}";

std::string TextOf(HWND hwnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

using Keep = std::function<bool(HWND)>;

BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
    auto& [keep, found] = *reinterpret_cast<std::pair<const Keep*, std::vector<HWND>>*>(param);
    if ((*keep)(hwnd)) found.push_back(hwnd);
    return TRUE;
}

// The top-level windows (or those below parent) that keep takes.
std::vector<HWND> Windows(HWND parent, const Keep& keep) {
    std::pair<const Keep*, std::vector<HWND>> query{&keep, {}};
    if (parent) ::EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&query));
    else ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&query));
    return query.second;
}

bool IsClass(HWND hwnd, const char* className) { return lstrcmpiA(ClassOf(hwnd).c_str(), className) == 0; }

// A message sent to another process's window; nullopt when it does not answer.
std::optional<DWORD_PTR> Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, kSendMs, &result)) return std::nullopt;
    return result;
}

// msg sent with a pointer to a copy of bytes in the window's process (aim may point
// fields into it); the bytes as left, or nullopt without an answer (or a 0 that fails).
std::optional<std::string> SendThrough(HWND hwnd, UINT msg, WPARAM wp, std::string bytes, bool zeroFails,
                                       const std::function<void(char* at, std::string& bytes)>& aim = {}) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    rz::unique_handle_kernel process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    char* at = process ? static_cast<char*>(::VirtualAllocEx(process.get(), nullptr, bytes.size(),
                                                             MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
                       : nullptr;
    if (!at) return std::nullopt;
    if (aim) aim(at, bytes);
    SIZE_T done = 0;
    std::optional<DWORD_PTR> answer;
    const bool ok = ::WriteProcessMemory(process.get(), at, bytes.data(), bytes.size(), &done) &&
                    (answer = Send(hwnd, msg, wp, reinterpret_cast<LPARAM>(at))) && (*answer || !zeroFails) &&
                    ::ReadProcessMemory(process.get(), at, bytes.data(), bytes.size(), &done);
    ::VirtualFreeEx(process.get(), at, 0, MEM_RELEASE);
    return ok ? std::optional(bytes) : std::nullopt;
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
    return Windows(nullptr, [&](HWND hwnd) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        return owner == pid && (!className || ClassOf(hwnd) == className) && (!title || TextOf(hwnd) == title);
    });
}

HWND VisibleWindow(DWORD pid, const char* className, const char* title) {
    for (HWND hwnd : ProcessWindows(pid, className, title))
        if (::IsWindowVisible(hwnd)) return hwnd;
    return nullptr;
}

HWND ChildOf(HWND parent, const char* className, const char* text) {
    const auto found =
        Windows(parent, [&](HWND hwnd) { return IsClass(hwnd, className) && (!text || TextOf(hwnd) == text); });
    return found.empty() ? nullptr : found.front();
}

std::string MessageBoxText(HWND box) {
    char text[8192] = {};
    if (::GetDlgItem(box, 0xFFFF) && ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text)) > 0) return text;
    // Not every message box implementation numbers its text control 0xFFFF.
    const auto statics =
        Windows(box, [](HWND hwnd) { return IsClass(hwnd, "Static") && ::GetWindowTextLengthA(hwnd) > 0; });
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

void Click(POINT at, DWORD down) {
    Mouse(at, down);
    Mouse(at, down << 1);  // the matching UP flag
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

std::optional<uint32_t> CommonColour(HWND window) {
    RECT r{};
    if (!::GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return std::nullopt;
    rz::TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC screen = ::GetDC(nullptr);
    const bool copied = ::BitBlt(shot.Canvas(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    const uint32_t* bits = shot.Bits();
    if (!copied || !bits) return std::nullopt;
    std::map<uint32_t, int> counts;
    for (int i = 0; i < shot.Width() * shot.Height(); ++i) ++counts[bits[i] & 0xFFFFFF];
    return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

bool IsDarkColour(uint32_t rgb) {
    return std::max({(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF}) < 0x55;
}

namespace {
constexpr char kPersonalize[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr char kAppsUseLightTheme[] = "AppsUseLightTheme";
}  // namespace

AppThemeSetting::AppThemeSetting() {
    DWORD value = 0, size = sizeof(value);
    if (::RegGetValueA(HKEY_CURRENT_USER, kPersonalize, kAppsUseLightTheme, RRF_RT_REG_DWORD, nullptr, &value,
                       &size) == ERROR_SUCCESS)
        saved_ = value;
}

AppThemeSetting::~AppThemeSetting() { Write(saved_); }

void AppThemeSetting::Write(std::optional<DWORD> value) {
    HKEY opened = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr))
        return;
    rz::unique_hkey key(opened);
    if (!value) ::RegDeleteValueA(key.get(), kAppsUseLightTheme);
    else ::RegSetValueExA(key.get(), kAppsUseLightTheme, 0, REG_DWORD, reinterpret_cast<BYTE*>(&*value), 4);
}

void AppThemeSetting::Announce() {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                          SMTO_ABORTIFHUNG, kSendMs, &ignored);
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

SaveButton FindSaveButton(DWORD pid) {
    for (HWND top : ProcessWindows(pid, nullptr))
        if (HWND save = ChildOf(top, "Button", "S&ave")) return {top, save};
    return {};
}

int ManagerTreeCount(HWND manager) { return manager ? ExpandedTreeCount(ChildOf(manager, WC_TREEVIEWA), 1000) : -1; }

HWND OpenMenuByHotkey(const RunningProgram& program, DWORD totalMs, DWORD repressMs,
                      const std::function<bool()>& ready) {
    HWND menu = nullptr;
    const DWORD start = ::GetTickCount();
    while (!menu && program.Running() && ::GetTickCount() - start < totalMs) {
        if (ready && !ready()) break;
        PressKeys({VK_CONTROL, 'L'});
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

bool XKeysTestable() {
    char value[8] = {};
    return ::GetEnvironmentVariableA("RZ_X_KEYS", value, sizeof(value)) > 0 && value[0] == '1';
}

bool RunXdotool(const std::string& arguments) {
    // A Unix program started from here has no process handle to wait on:
    // the shell around it leaves its exit code in a file when it is done.
    static int runs = 0;
    const std::string done =
        "/tmp/rz-xdotool-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++runs);
    std::string windowsDone = "Z:" + done;
    std::replace(windowsDone.begin(), windowsDone.end(), '/', '\\');
    std::string command = "sh -c \"xdotool " + arguments + "; echo $? > " + done + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    std::string code;
    WaitUntil([&] { return (code = FileExists(windowsDone) ? ReadFile(windowsDone) : "").find('\n') != code.npos; },
              kXdotoolMs);
    ::DeleteFileA(windowsDone.c_str());
    return code.rfind("0\n", 0) == 0;
}

namespace {

// xdotool's name of a key, as a virtual key.
WORD VirtualKey(const std::string& name) {
    static const std::pair<const char*, WORD> kNames[] = {
        {"ctrl", VK_CONTROL},  {"shift", VK_SHIFT}, {"alt", VK_MENU},       {"Return", VK_RETURN},
        {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},     {"BackSpace", VK_BACK}, {"Delete", VK_DELETE},
        {"Down", VK_DOWN},     {"Up", VK_UP},       {"Left", VK_LEFT},      {"Right", VK_RIGHT},
        {"F2", VK_F2},         {"F4", VK_F4},       {"F10", VK_F10},       {"Menu", VK_APPS}};
    for (const auto& [n, vk] : kNames)
        if (name == n) return vk;
    EXPECT_TRUE(name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) << "no key \"" << name << "\"";
    return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
}

}  // namespace

void PressKeys(KeyPath path, const std::vector<std::string>& chords) {
    std::string all;
    for (const std::string& chord : chords) all += " " + chord;
    if (path == KeyPath::XServer) {
        EXPECT_TRUE(RunXdotool("key --delay 40" + all)) << all;
        return;
    }
    for (const std::string& chord : chords) {
        std::vector<WORD> keys;
        for (size_t start = 0, plus = 0; plus != std::string::npos; start = plus + 1) {
            plus = chord.find('+', start);
            keys.push_back(VirtualKey(chord.substr(start, plus - start)));
        }
        PressKeys(keys);
    }
}

void TypeText(KeyPath path, const std::string& text) {
    if (path == KeyPath::SendInput) return TypeText(text);
    std::string quoted;
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    EXPECT_TRUE(RunXdotool("type --delay 40 '" + quoted + "'")) << text;
}

bool FocusWindow(KeyPath path, HWND window) {
    if (path == KeyPath::SendInput) return true;
    // Where Wine keeps the X window of each of its windows.
    const auto x = reinterpret_cast<uintptr_t>(::GetPropA(window, "__wine_x11_whole_window"));
    return x && RunXdotool("windowfocus --sync " + std::to_string(x));
}

ForeignProgram::ForeignProgram(KeyPath path) : path_(path) {
    program_ = std::make_unique<RunningProgram>(WindowsDir() + "notepad.exe", WindowsDir());
    WaitUntil([&] { return program_->Started() && (window_ = VisibleWindow(program_->Id(), "Notepad", nullptr)); },
              kStartMs);
    if (window_ && !TakeFocus()) window_ = nullptr;
}

bool ForeignProgram::TakeFocus() {
    if (!window_) return false;
    ::SetForegroundWindow(window_);
    return FocusWindow(path_, window_);
}

void ProgramCopyTest::SetUp() {
    ASSERT_TRUE(FileExists(ProgramPath())) << "program not built at " << ProgramPath();
    ASSERT_FALSE(ReadInstanceMapping().has_value())
        << "an instance started elsewhere is still running; these tests need the name free";
    ASSERT_TRUE(::CopyFileA(ProgramPath(), exe_.c_str(), FALSE)) << ::GetLastError();
}

std::optional<std::string> StatusBarText(HWND bar) {
    const std::optional<DWORD_PTR> length = Send(bar, SB_GETTEXTLENGTHA, 0, 0);
    std::optional<std::string> text;
    if (length) text = SendThrough(bar, SB_GETTEXTA, 0, std::string(LOWORD(*length) + 1, '\0'), false);
    if (text) text->resize(std::strlen(text->c_str()));
    return text;
}

std::string FieldText(HWND field) {
    wchar_t text[1024] = L"<unreadable>";
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(field, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kSendMs, &ignored);
    return rz::FromUtf16(text);
}

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
    constexpr int kText = 260;
    const auto text = SendThrough(tree, TVM_GETITEMA, 0, std::string(sizeof(TVITEMA) + kText, '\0'), true,
                                  [&](char* at, std::string& bytes) {
                                      TVITEMA query{TVIF_TEXT, item, 0, 0, at + sizeof(TVITEMA), kText - 1, 0, 0, 0, 0};
                                      std::memcpy(bytes.data(), &query, sizeof(query));
                                  });
    return text ? text->c_str() + sizeof(TVITEMA) : "<unreadable>";
}

POINT ItemPoint(HWND tree, HTREEITEM item) {
    std::string rect(sizeof(RECT), '\0');
    std::memcpy(rect.data(), &item, sizeof(item));  // the rectangle goes in carrying the item
    POINT p{-1, -1};
    if (const auto got = SendThrough(tree, TVM_GETITEMRECT, TRUE, rect, true)) {
        RECT r;
        std::memcpy(&r, got->data(), sizeof(r));
        p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(tree, &p);
    }
    return p;
}

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

#include "platform/Application.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/Control.h"
#include "platform/ForeignMessages.h"
#include "platform/MessageBox.h"
#include "platform/PageControl.h"

namespace rz {

TApplication Application;

namespace {
constexpr char kAppWindowClass[] = "TApplication.Razaveza";
}

void TApplication::Initialize() {
    if (Handle()) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    queueGuard_.reset(GuardThreadQueue());
    RegisterClassOnce(kAppWindowClass, nullptr, true);
    // A visible-style but zero-sized, off-screen popup: the taskbar button of
    // the program belongs to it, as do the program's forms.
    CreateHandle(0, kAppWindowClass, title_, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                 0, 0, 0, nullptr);
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (Handle()) ::SetWindowTextA(Handle(), title.c_str());
}

void TApplication::TrackHint(HWND under) {
    // Disabled controls get no mouse messages: look through their parent
    // for the topmost child at the pointer, disabled ones included.
    POINT p;
    if (under && ::GetCursorPos(&p)) {
        // From the top: the window under the pointer may be a sibling beneath.
        under = ::GetAncestor(under, GA_ROOT);
        for (;;) {
            POINT local = p;
            ::ScreenToClient(under, &local);
            HWND child = ::ChildWindowFromPointEx(under, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (!child || child == under) break;
            under = child;
        }
    }
    // The hint of the control under the pointer; none for anything else.
    const TControl* control = TControl::FromHandle(under);
    SetHint(control ? control->Hint : std::string());
}

void TApplication::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) SafeInvoke(this, [&] { OnHint(this); });
}

bool TApplication::DispatchOne(const MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) TrackHint(msg.hwnd);
        if (!DispatchOne(msg)) break;
    }
}

void TApplication::Run() {
    while (!terminated_) RunOnce();
}

void TApplication::RunOnce(DWORD maxWaitMs) {
    MSG msg;
    // Wide: a typed letter reaches a Unicode window whole; an ANSI window
    // still gets it in its code page from the dispatch.
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        LoopMessage(msg);
        return;
    }
    DWORD wait = maxWaitMs;
    // A copy: a piece of work may add or remove work.
    const auto idle = idle_;
    for (const auto& [owner, work] : idle) {
        DWORD wanted = INFINITE;
        SafeInvoke(this, [&] { wanted = work(); });
        wait = std::min(wait, wanted);
    }
    if (!terminated_) WaitForWork(wait);
}

void TApplication::LoopMessage(MSG& msg) {
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) TrackHint(msg.hwnd);
    // Dialog navigation (Tab, Enter, Esc) for the program's forms.
    HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && top != Handle() && SwitchesPage(top, msg)) return;
    if (top && top != Handle() && ::IsDialogMessageW(top, &msg)) return;
    DispatchOne(msg);
}

void TApplication::WaitForWork(DWORD timeoutMs) {
    std::vector<HANDLE> handles;
    for (const Wait& w : waits_) handles.push_back(w.handle);
    const DWORD n = static_cast<DWORD>(handles.size());
    DWORD got = ::MsgWaitForMultipleObjectsEx(n, handles.data(), timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    // A handle closed behind the loop's back must not make it spin.
    if (got == WAIT_FAILED)
        got = ::MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (got >= WAIT_OBJECT_0 + n) return;
    // The call may remove its own wait or another: look it up again.
    for (const Wait& w : waits_) {
        if (w.handle != handles[got - WAIT_OBJECT_0]) continue;
        const std::function<void()> call = w.signalled;
        SafeInvoke(this, call);
        return;
    }
}

void TApplication::AddWait(HANDLE handle, std::function<void()> signalled) {
    RemoveWait(handle);
    // One slot of the wait belongs to the messages.
    if (waits_.size() + 1 >= MAXIMUM_WAIT_OBJECTS) throw std::length_error("too many handles for the message loop");
    waits_.push_back({handle, std::move(signalled)});
}

void TApplication::AddIdle(const void* owner, IdleWork work) {
    RemoveIdle(owner);
    idle_.emplace_back(owner, std::move(work));
}

void TApplication::RemoveIdle(const void* owner) {
    std::erase_if(idle_, [owner](const auto& entry) { return entry.first == owner; });
}

void TApplication::RemoveWait(HANDLE handle) {
    std::erase_if(waits_, [handle](const Wait& w) { return w.handle == handle; });
}

bool TApplication::SwitchesPage(HWND top, const MSG& msg) {
    // Before the dialog navigation, which takes Ctrl+Tab for a plain Tab.
    bool taken = false;
    SafeInvoke(this, [&] { taken = SwitchPageByKey(top, msg); });
    return taken;
}

void TApplication::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

void TApplication::ResetTerminated() {
    terminated_ = false;
    faulted_ = false;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

void TApplication::HandleException(TObject* sender) noexcept {
    std::string what = "Unknown exception";
    try {
        throw;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {}
    ReportError(sender, what);
}

void TApplication::ReportError(TObject* sender, const std::string& what) noexcept {
    // A failure inside the handler must not recurse into it again.
    if (OnException && !reporting_) {
        reporting_ = true;
        try {
            OnException(sender, std::runtime_error(what));
            reporting_ = false;
            return;
        } catch (...) {}
        reporting_ = false;
    }
    try {
        ShowMessageBox(nullptr, what, title_, MB_OK | MB_ICONSTOP);
    } catch (...) {}
    Terminate();
}

LONG TApplication::ReportFault(const EXCEPTION_POINTERS* info) noexcept {
    if (!info || !info->ExceptionRecord) return EXCEPTION_CONTINUE_SEARCH;
    std::string what;
    try {
        what = DescribeFault(*info->ExceptionRecord);
    } catch (...) {
        what = "Hardware exception";
    }
    faulted_ = true;
    // Nobody knows which component was running: the sender stays unknown.
    ReportError(nullptr, what);
    return EXCEPTION_EXECUTE_HANDLER;
}

namespace {

const char* FaultName(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION: return "Access violation";
        case EXCEPTION_IN_PAGE_ERROR: return "In-page error";
        case EXCEPTION_ILLEGAL_INSTRUCTION: return "Illegal instruction";
        case EXCEPTION_PRIV_INSTRUCTION: return "Privileged instruction";
        case EXCEPTION_INT_DIVIDE_BY_ZERO: return "Integer division by zero";
        case EXCEPTION_STACK_OVERFLOW: return "Stack overflow";
        case EXCEPTION_DATATYPE_MISALIGNMENT: return "Datatype misalignment";
        default: return "Hardware exception";
    }
}

std::string ModuleOf(const void* address) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<const char*>(address), &module))
        return "an unknown module";
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    const std::string name(path, n < MAX_PATH ? n : 0);
    const size_t cut = name.find_last_of("\\/");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

// Eight hex digits without the printf family, which would add its own formatter to the image.
std::string Hex8(unsigned long value) {
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[i] = "0123456789ABCDEF"[value & 0xF];
    return text;
}

LONG WINAPI FaultFilter(EXCEPTION_POINTERS* info) { return Application.ReportFault(info); }

bool IsHardwareFault(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_IN_PAGE_ERROR:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_PRIV_INSTRUCTION:
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_INT_OVERFLOW:
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case EXCEPTION_STACK_OVERFLOW:
        case EXCEPTION_DATATYPE_MISALIGNMENT: return true;
        default: return false;
    }
}

bool InProgramImage(const void* address) {
    const auto* base = reinterpret_cast<const BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto* at = static_cast<const BYTE*>(address);
    return at >= base && at < base + nt->OptionalHeader.SizeOfImage;
}

// Called before any handler on the stack: a window procedure runs inside
// the system's own handlers, which would swallow the fault or end the
// program without a word. The program's code handles none of these, so
// one there is always a bug: reported like any error, and the end.
LONG WINAPI FaultInProgram(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    if (!record || !IsHardwareFault(record->ExceptionCode) || !InProgramImage(record->ExceptionAddress))
        return EXCEPTION_CONTINUE_SEARCH;
    static LONG reporting = 0;
    if (::InterlockedExchange(&reporting, 1) == 0) Application.ReportFault(info);
    ::TerminateProcess(::GetCurrentProcess(), record->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

std::string DescribeFault(const EXCEPTION_RECORD& record) {
    const ULONG_PTR address = reinterpret_cast<ULONG_PTR>(record.ExceptionAddress);
    return std::string(FaultName(record.ExceptionCode)) + " (" + Hex8(record.ExceptionCode) + ") at 0x" +
           Hex8(static_cast<unsigned long>(address)) + " in " + ModuleOf(record.ExceptionAddress);
}

void InstallFaultFilter() {
    ::AddVectoredExceptionHandler(1, &FaultInProgram);
    ::SetUnhandledExceptionFilter(&FaultFilter);
}

namespace {
struct OwnedSearch {
    HWND owner;
    bool visible;
};

BOOL CALLBACK FindVisibleOwned(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<OwnedSearch*>(lp);
    if (::GetWindow(hwnd, GW_OWNER) == s->owner && ::IsWindowVisible(hwnd)) s->visible = true;
    return !s->visible;
}
}  // namespace

void TApplication::SyncTaskbarButton() {
    if (!Handle()) return;
    OwnedSearch search{Handle(), false};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleOwned, reinterpret_cast<LPARAM>(&search));
    if (!hintPoll_.OnTimer) {
        hintPoll_.SetInterval(100);
        hintPoll_.OnTimer = [this](TObject*) {
            POINT p;
            if (!::GetCursorPos(&p)) return;
            HWND under = ::WindowFromPoint(p);
            bool ours = under && ::GetWindowThreadProcessId(under, nullptr) == ::GetCurrentThreadId();
            if (ours) TrackHint(under);
            else SetHint({});
        };
    }
    hintPoll_.SetEnabled(search.visible);
    if (search.visible == (::IsWindowVisible(Handle()) != FALSE)) return;
    ::ShowWindow(Handle(), search.visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATEAPP:
            active_ = wp != 0;
            if (active_ && OnActivate) OnActivate(this);
            if (!active_ && OnDeactivate) OnDeactivate(this);
            return 0;
        case WM_CLOSE: return 0;  // the program ends only through Terminate
        default: return DefaultHandler(msg, wp, lp);
    }
}

}  // namespace rz

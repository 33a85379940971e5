#include "platform/Form.h"

#include <algorithm>

#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"

namespace rz {

namespace {
constexpr char kFormClass[] = "TForm.Razaveza";
// Below this a window is not made smaller: its text would be unreadable.
constexpr int kSmallestFitDpi = 48;
}  // namespace

int FittingDpi(int dpi, SIZE client96, SIZE frame, const RECT& work) {
    int fit = dpi;
    const int width = work.right - work.left - frame.cx, height = work.bottom - work.top - frame.cy;
    if (client96.cx > 0) fit = std::min<int>(fit, width * kBaseDpi / client96.cx);
    if (client96.cy > 0) fit = std::min<int>(fit, height * kBaseDpi / client96.cy);
    return std::max(fit, std::min(dpi, kSmallestFitDpi));
}

void TForm::CreateForm(const std::string& caption, int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RegisterClassOnce(kFormClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    caption_ = caption;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    RECT r{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    Application.Initialize();
    CreateHandle(exStyle, kFormClass, caption, style, 0, 0, r.right - r.left, r.bottom - r.top, Application.Handle());
    if (!Handle()) return;
    dpi_ = monitorDpi_ = WindowDpi(Handle());
    FitClientToDpi();
    font_ = CreatePointFont(fontName_, fontSize_, dpi_);
    ::SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), 0);
}

int TForm::Scaled(int size96) const { return ScaleToDpi(size96, dpi_); }

// Only the size changes: the frame may differ at another DPI, so the
// difference is measured rather than computed.
void TForm::FitClientToDpi() {
    RECT client{}, window{};
    if (!::GetClientRect(Handle(), &client) || !::GetWindowRect(Handle(), &window)) return;
    const int dw = Scaled(clientWidth_) - client.right;
    const int dh = Scaled(clientHeight_) - client.bottom;
    if (dw == 0 && dh == 0) return;
    ::SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SendFontToChildren() {
    ::SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), 0);
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void TForm::ChangeDpi(int dpi, const RECT& suggested) {
    dpi_ = dpi > 0 ? dpi : kBaseDpi;
    ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientToDpi();
    if (unique_hfont font = CreatePointFont(fontName_, fontSize_, dpi_)) {
        font_ = std::move(font);
        SendFontToChildren();
    }
    DpiChanged();
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm::KeepOnScreen() {
    if (!Handle() || !FitWorkArea) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoA(::MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT work = monitor.rcWork;
    RECT window{}, client{};
    if (!::GetWindowRect(Handle(), &window) || !::GetClientRect(Handle(), &client)) return;
    const SIZE frame{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    const int fit = FittingDpi(monitorDpi_, SIZE{clientWidth_, clientHeight_}, frame, work);
    if (fit != dpi_) {
        ChangeDpi(fit, window);
        ::GetWindowRect(Handle(), &window);
    }
    const int w = window.right - window.left, h = window.bottom - window.top;
    const int x = std::max<int>(work.left, std::min<int>(window.left, work.right - w));
    const int y = std::max<int>(work.top, std::min<int>(window.top, work.bottom - h));
    if (x != window.left || y != window.top)
        ::SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    if (!Handle()) return;
    bool wasVisible = Visible();
    if (!wasVisible) KeepOnScreen();
    ::ShowWindow(Handle(), SW_SHOW);
    Application.SyncTaskbarButton();
    ::SetForegroundWindow(Handle());
    if (!wasVisible) Fire(OnShow);
}

HWND TForm::FocusOnActivate(HWND remembered) {
    if (remembered) return remembered;
    return ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
}

void TForm::RestoreFocus() {
    auto usable = [this](HWND h) {
        return h && ::IsWindow(h) && ::IsChild(Handle(), h) && ::IsWindowVisible(h) && ::IsWindowEnabled(h);
    };
    HWND target = FocusOnActivate(usable(lastFocus_) ? lastFocus_ : nullptr);
    if (!usable(target)) target = ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (usable(target)) ::SetFocus(target);
}

void TForm::FocusControl(const TControl& control) {
    if (!control.Handle()) return;
    lastFocus_ = control.Handle();
    if (::GetActiveWindow() == Handle()) ::SetFocus(control.Handle());
}

void TForm::Hide() {
    if (!Handle()) return;
    ::ShowWindow(Handle(), SW_HIDE);
    Application.SyncTaskbarButton();
}

void TForm::Close() {
    bool hide = true;
    if (OnClose) OnClose(this, hide);
    if (hide) Hide();
}

bool TForm::Visible() const { return Handle() && ::IsWindowVisible(Handle()); }

void TForm::CenterOnScreen() {
    RECT r;
    if (!Handle() || !::GetWindowRect(Handle(), &r)) return;
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    ::SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (Handle()) ::SetWindowTextA(Handle(), caption.c_str());
}

void TForm::SetFont(const std::string& face, int points) {
    fontName_ = face;
    fontSize_ = points;
    unique_hfont font = CreatePointFont(face, points, dpi_);
    if (!font) return;
    font_ = std::move(font);
    if (Handle()) SendFontToChildren();
}

LRESULT TForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_.get());
        case WM_CLOSE: Close(); return 0;
        case WM_DPICHANGED: {
            // Without the system's rectangle the window stays where it is.
            RECT place{};
            if (lp) place = *reinterpret_cast<const RECT*>(lp);
            else ::GetWindowRect(Handle(), &place);
            monitorDpi_ = HIWORD(wp) > 0 ? HIWORD(wp) : kBaseDpi;
            ChangeDpi(monitorDpi_, place);
            KeepOnScreen();
            return 0;
        }
        case WM_DISPLAYCHANGE:
            KeepOnScreen();
            return DefaultHandler(msg, wp, lp);
        case WM_SETTINGCHANGE:
            if (wp == SPI_SETWORKAREA) KeepOnScreen();
            return DefaultHandler(msg, wp, lp);
        case WM_ACTIVATE: {
            const bool active = LOWORD(wp) != WA_INACTIVE;
            if (!active) {
                const HWND focus = ::GetFocus();
                if (focus && ::IsChild(Handle(), focus)) lastFocus_ = focus;
            }
            Fire(active ? OnActivate : OnDeactivate);
            const LRESULT r = DefaultHandler(msg, wp, lp);
            // The platform gives the keyboard to the window itself, where no key does anything.
            if (active && !HIWORD(wp)) RestoreFocus();
            return r;
        }
        case WM_COMMAND:
            if (auto* c = TControl::FromHandle(reinterpret_cast<HWND>(lp))) {
                TControl* sender = c;
                bool handled = false;
                SafeInvoke(sender, [&] { handled = c->OnCommand(HIWORD(wp)); });
                if (handled) return 0;
            }
            if (LOWORD(wp) == IDCANCEL && lp == 0) {
                Close();
                return 0;
            }
            return DefaultHandler(msg, wp, lp);
        case WM_NOTIFY: {
            const auto* nm = reinterpret_cast<const NMHDR*>(lp);
            // A tree view sends one notification per deleted item: remember the last sender.
            if (nm->hwndFrom != lastNotifyFrom_) {
                lastNotifyFrom_ = nm->hwndFrom;
                lastNotifyControl_ = TControl::FromHandle(nm->hwndFrom);
            }
            if (auto* c = lastNotifyControl_) {
                LRESULT result = 0;
                bool handled = false;
                SafeInvoke(c, [&] { handled = c->OnNotify(*nm, result); });
                if (handled) return result;
            }
            return DefaultHandler(msg, wp, lp);
        }
        case WM_NOTIFYFORMAT: return NFR_ANSI;
        case WM_PAINT:
            if (OnPaint) {
                LRESULT r = DefaultHandler(msg, wp, lp);
                OnPaint(this);
                return r;
            }
            return DefaultHandler(msg, wp, lp);
        default: return DefaultHandler(msg, wp, lp);
    }
}

}  // namespace rz

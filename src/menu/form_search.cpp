#include "menu/form_search.h"

#include <algorithm>

#include "core/Settings.h"
#include "items/LauncherParts.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "support/UcvGraphics.h"

namespace rz {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

RECT WorkAreaAt(POINT at) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoA(::MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

int TextHeight(HWND window, HFONT font) {
    WindowDC dc(window);
    SelectGuard selected(dc.get(), font);
    TEXTMETRICA tm{};
    return ::GetTextMetricsA(dc.get(), &tm) ? tm.tmHeight : 0;
}

}  // namespace

void TSearchBox::CreateWnd(HWND parent) {
    TEdit::CreateWnd(parent);
    Subclass();
}

bool TSearchBox::WindowMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_KEYDOWN && OnKey && OnKey(static_cast<WORD>(wp))) {
        result = 0;
        return true;
    }
    // Their keys were used above; the edit would only beep at the characters.
    if (msg == WM_CHAR && (wp == '\r' || wp == VK_ESCAPE)) {
        result = 0;
        return true;
    }
    return false;
}

void TSearchList::CreateWnd(HWND parent) { CreateControl(parent, PaintedClass(), "", 0); }

int TSearchList::RowAt(LPARAM lp) const {
    const int y = static_cast<short>(HIWORD(lp));
    const int row = y >= 0 && RowHeight > 0 ? y / RowHeight : -1;
    return row < Rows ? row : -1;
}

void TSearchList::InvalidateRow(int row) {
    if (!Handle() || row < 0) return;
    RECT r{0, row * RowHeight, Bounds().right - Bounds().left, (row + 1) * RowHeight};
    ::InvalidateRect(Handle(), &r, FALSE);
}

bool TSearchList::WindowMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_PAINT: {
            PaintDC dc(Handle());
            RECT client{};
            ::GetClientRect(Handle(), &client);
            for (int row = 0; row < Rows; ++row) {
                RECT r{0, row * RowHeight, client.right, (row + 1) * RowHeight}, meet{};
                if (OnDrawRow && ::IntersectRect(&meet, &r, &dc.info().rcPaint)) OnDrawRow(dc.get(), row, r);
            }
            RECT below{0, Rows * RowHeight, client.right, client.bottom};
            if (below.bottom > below.top) ::FillRect(dc.get(), &below, ::GetSysColorBrush(COLOR_MENU));
            return true;
        }
        case WM_ERASEBKGND: result = 1; return true;
        case WM_MOUSEMOVE:
            if (int row = RowAt(lp); row >= 0 && OnHoverRow) OnHoverRow(row);
            return true;
        case WM_LBUTTONUP:
            if (int row = RowAt(lp); row >= 0 && OnClickRow) OnClickRow(row);
            return true;
        default: return false;
    }
}

TFormSearch::TFormSearch(LauncherMenuParts& launcher) : TForm("FormSearch"), launcher_(launcher), search_(launcher) {
    CreateForm("Search", SearchLayout::kWidth, SearchLayout::kEditHeight, kStyle, kExStyle);
    EditSearch.CreateWnd(Handle());
    ListResults.CreateWnd(Handle());
    EditSearch.OnChange = [this](TObject* s) { EditSearchChange(s); };
    EditSearch.OnKey = [this](WORD key) { return EditSearchKey(key); };
    ListResults.OnDrawRow = [this](HDC dc, int row, const RECT& r) { DrawRow(dc, row, r); };
    ListResults.OnHoverRow = [this](int row) { Select(row); };
    ListResults.OnClickRow = [this](int row) { ListResultsClick(row); };
    launcher_.LauncherMenu().OnUnmatchedKey = [this](const std::string& typed, POINT at) { OpenAt(at, typed); };
}

TFormSearch::~TFormSearch() { launcher_.LauncherMenu().OnUnmatchedKey = nullptr; }

void TFormSearch::OpenAt(POINT at, const std::string& text) {
    anchor_ = at;
    // Sized for the monitor it opens on, which need not be the last one's.
    if (const int dpi = DpiAtPoint(at); dpi != Dpi()) {
        RECT place{};
        ::GetWindowRect(Handle(), &place);
        ChangeDpi(dpi, place);
    }
    ApplyLook();
    EditSearch.SetText(text);
    Refresh();
    // Like the menu it stands in for, it brings no taskbar button.
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    EditSearch.SetFocus();
    EditSearch.SetSelStart(static_cast<int>(text.size()));
}

void TFormSearch::OpenAtCursor() {
    POINT p{};
    if (::GetCursorPos(&p)) OpenAt(p, "");
}

// The look of the launcher menu in the current drawing mode.
void TFormSearch::ApplyLook() {
    if (Settings.WindowsDraw) {
        const MenuFontInfo menuFont = SystemMenuFont();
        SetFont(menuFont.name, menuFont.points);
    } else {
        SetFont(Settings.FontName, FontSizeForDrawing(Settings.FontSize));
    }
    const int text = TextHeight(Handle(), Font());
    ListResults.RowHeight = std::max(Scaled(SearchLayout::kRowHeight), text + Scaled(4));
    editHeight_ = std::max(Scaled(SearchLayout::kEditHeight), text + Scaled(8));
}

// Moved to a monitor of another DPI while open: laid out again where the
// system put it, keeping the selection.
void TFormSearch::DpiChanged() {
    if (!Visible()) return;
    RECT place{};
    if (::GetWindowRect(Handle(), &place)) anchor_ = POINT{place.left, place.top};
    const int selected = selected_;
    ApplyLook();
    Refresh();
    Select(selected);
}

void TFormSearch::EditSearchChange(TObject*) { Refresh(); }

void TFormSearch::Refresh() {
    results_ = search_.Find(EditSearch.Text(), static_cast<size_t>(ScreenRows()));
    resultsFor_ = launcher_.MenuLoads();
    selected_ = results_.empty() ? -1 : 0;
    ListResults.Rows = static_cast<int>(results_.size());
    Arrange();
    ListResults.Invalidate();
}

int TFormSearch::ScreenRows() const {
    const RECT work = WorkAreaAt(anchor_);
    const int room = work.bottom - work.top - editHeight_ - 2 * SystemMetricForDpi(SM_CYBORDER, Dpi());
    return std::max(1, room / ListResults.RowHeight);
}

// Below and right of the anchor where it fits, inside the anchor's screen.
void TFormSearch::Arrange() {
    const int listHeight = ListResults.Rows * ListResults.RowHeight;
    const int width = Scaled(SearchLayout::kWidth);
    EditSearch.SetBounds(0, 0, width, editHeight_);
    ListResults.SetBounds(0, editHeight_, width, listHeight);
    ListResults.SetVisible(listHeight > 0);
    RECT r{0, 0, width, editHeight_ + listHeight};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const RECT work = WorkAreaAt(anchor_);
    const int x = std::max<int>(work.left, std::min<int>(anchor_.x, work.right - w));
    const int y = std::max<int>(work.top, std::min<int>(anchor_.y, work.bottom - h));
    ::SetWindowPos(Handle(), HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE);
}

void TFormSearch::Select(int row) {
    if (results_.empty()) return;
    row = std::clamp(row, 0, static_cast<int>(results_.size()) - 1);
    if (row == selected_) return;
    ListResults.InvalidateRow(selected_);
    selected_ = row;
    ListResults.InvalidateRow(selected_);
}

bool TFormSearch::EditSearchKey(WORD key) {
    const int page = std::max(1, ListResults.Rows - 1);
    switch (key) {
        case VK_UP: Select(selected_ - 1); return true;
        case VK_DOWN: Select(selected_ + 1); return true;
        case VK_PRIOR: Select(selected_ - page); return true;
        case VK_NEXT: Select(selected_ + page); return true;
        case VK_HOME: Select(0); return true;
        case VK_END: Select(static_cast<int>(results_.size()) - 1); return true;
        case VK_RETURN: LaunchRow(selected_); return true;
        case VK_ESCAPE: Hide(); return true;
        case VK_BACK:
            if (!EditSearch.Text().empty()) return false;
            Hide();
            return true;
        default: return false;
    }
}

void TFormSearch::ListResultsClick(int row) { LaunchRow(row); }

void TFormSearch::LaunchRow(int row) {
    if (row < 0 || row >= static_cast<int>(results_.size())) return;
    // A load since the list was made replaced its entries: show the new ones.
    if (resultsFor_ != launcher_.MenuLoads()) {
        Refresh();
        return;
    }
    TMenuItem* entry = results_[row].entry;
    Hide();
    entry->Click();
}

LRESULT TFormSearch::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE && Visible()) Hide();
    if (msg == WM_CTLCOLOREDIT && reinterpret_cast<HWND>(lp) == EditSearch.Handle()) {
        const HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, ::GetSysColor(COLOR_MENUTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_MENU));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_MENU));
    }
    return TForm::HandleMessage(msg, wp, lp);
}

}  // namespace rz

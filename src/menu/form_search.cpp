#include "menu/form_search.h"

#include <algorithm>

#include "core/Settings.h"
#include "items/LauncherParts.h"
#include "platform/Dpi.h"
#include "platform/Palette.h"
#include "support/UcvGraphics.h"

namespace rz {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
// Results made at first: a few pages. More are made when the list scrolls to them.
constexpr size_t kFirstResults = 64;
constexpr int kWheelRows = 3;

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

bool HasWords(const std::string& query) {
    return std::any_of(query.begin(), query.end(), [](char c) { return static_cast<unsigned char>(c) > 0x20; });
}

}  // namespace

TFormSearch::TFormSearch(LauncherMenuParts& launcher) : TForm("FormSearch"), launcher_(launcher), search_(launcher) {
    CreateForm("Search", SearchLayout::kWidth, SearchLayout::kEditHeight, kStyle, kExStyle);
    EditSearch.CreateWnd(Handle());
    ListResults.CreateWnd(Handle());
    EditSearch.OnChange = [this](TObject* s) { EditSearchChange(s); };
    EditSearch.OnKey = [this](WORD key) { return EditSearchKey(key); };
    ListResults.OnDrawRow = [this](HDC dc, int row, const RECT& r) { DrawRow(dc, row, r); };
    ListResults.OnDrawRest = [this](HDC dc, const RECT& rows, const RECT& note) { DrawRest(dc, rows, note); };
    ListResults.OnHoverRow = [this](int row) { Select(row); };
    ListResults.OnClickRow = [this](int row) { ListResultsClick(row); };
    ListResults.OnRightClickRow = [this](int row, POINT at) {
        Select(row);
        ShowRowMenu(row, at);
    };
    const auto wheel = [this](int delta) { ScrollTo(TopRow() - delta * kWheelRows / WHEEL_DELTA); };
    EditSearch.OnWheel = wheel;
    ListResults.OnWheel = wheel;
    launcher_.LauncherMenu().OnUnmatchedKey = [this](const std::string& typed, POINT at) { OpenAt(at, typed); };
}

TFormSearch::~TFormSearch() { launcher_.LauncherMenu().OnUnmatchedKey = nullptr; }

void TFormSearch::OpenAt(POINT at, const std::string& text) {
    // Sized for the monitor it opens on, which need not be the last one's.
    if (const int dpi = DpiAtPoint(at); dpi != Dpi()) {
        RECT place{};
        ::GetWindowRect(Handle(), &place);
        ChangeDpi(dpi, place);
    }
    ApplyLook();
    Place(at);
    EditSearch.SetText(text);
    Refresh();
    // Like the menu it stands in for, it brings no taskbar button.
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    EditSearch.SetFocus();
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

// Below the point where the whole list fits; above it where only that fits;
// else as low as the work area lets it. The box stays there while the user types.
void TFormSearch::Place(POINT at) {
    RECT r{0, 0, Scaled(SearchLayout::kWidth), editHeight_ + (SearchLayout::kRows + 1) * ListResults.RowHeight};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    const int w = r.right - r.left, tallest = r.bottom - r.top;
    const RECT work = WorkAreaAt(at);
    above_ = at.y + tallest > work.bottom && at.y - tallest >= work.top;
    anchor_.x = std::max<int>(work.left, std::min<int>(at.x, work.right - w));
    anchor_.y = above_ ? at.y : std::max<int>(work.top, std::min<int>(at.y, work.bottom - tallest));
}

// Moved to a monitor of another DPI while open: laid out again where the
// system put it, keeping the results and the selection.
void TFormSearch::DpiChanged() {
    if (!Visible()) return;
    RECT place{};
    if (::GetWindowRect(Handle(), &place)) anchor_ = POINT{place.left, above_ ? place.bottom : place.top};
    ApplyLook();
    Arrange();
    ListResults.Invalidate();
}

void TFormSearch::EditSearchChange(TObject*) { Refresh(); }

void TFormSearch::Refresh() {
    query_ = EditSearch.Text();
    results_ = search_.Find(query_, kFirstResults, &total_);
    resultsFor_ = launcher_.MenuLoads();
    selected_ = results_.empty() ? -1 : 0;
    ListResults.Top = 0;
    ListResults.Rows = static_cast<int>(std::min<size_t>(total_, SearchLayout::kRows));
    if (total_ > SearchLayout::kRows) ListResults.Note = std::to_string(total_ - SearchLayout::kRows) + " more";
    else ListResults.Note = total_ == 0 && HasWords(query_) ? "No matches" : "";
    Arrange();
    ListResults.Invalidate();
}

// The list below the box, or above it when the window opened above its point.
void TFormSearch::Arrange() {
    const int listHeight =
        ListResults.Rows * ListResults.RowHeight + (ListResults.Note.empty() ? 0 : ListResults.RowHeight);
    const int width = Scaled(SearchLayout::kWidth);
    EditSearch.SetBounds(0, above_ ? listHeight : 0, width, editHeight_);
    ListResults.SetBounds(0, above_ ? 0 : editHeight_, width, listHeight);
    ListResults.SetVisible(listHeight > 0);
    RECT r{0, 0, width, editHeight_ + listHeight};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ::SetWindowPos(Handle(), HWND_TOPMOST, anchor_.x, above_ ? anchor_.y - h : anchor_.y, w, h, SWP_NOACTIVATE);
}

// The first count results, made when the list first needs them.
void TFormSearch::MakeResults(size_t count) {
    if (count <= results_.size() || results_.size() >= total_ || resultsFor_ != launcher_.MenuLoads()) return;
    results_ = search_.Find(query_, std::max(count, 2 * results_.size()), &total_);
}

void TFormSearch::ScrollTo(int top) {
    const int last = std::max(0, static_cast<int>(total_) - ListResults.Rows);
    top = std::clamp(top, 0, last);
    MakeResults(static_cast<size_t>(top + ListResults.Rows));
    if (top == ListResults.Top) return;
    ListResults.Top = top;
    ListResults.Invalidate();
}

void TFormSearch::Select(int row) {
    if (total_ == 0) return;
    row = std::clamp(row, 0, static_cast<int>(total_) - 1);
    MakeResults(static_cast<size_t>(row) + 1);
    row = std::min(row, static_cast<int>(results_.size()) - 1);
    if (row == selected_) return;
    ListResults.InvalidateRow(selected_);
    selected_ = row;
    if (row < ListResults.Top) ScrollTo(row);
    if (row >= ListResults.Top + ListResults.Rows) ScrollTo(row - ListResults.Rows + 1);
    ListResults.InvalidateRow(selected_);
}

bool TFormSearch::EditSearchKey(WORD key) {
    if (ItemKey(key)) return true;
    constexpr int page = SearchLayout::kRows;
    switch (key) {
        case VK_UP: Select(selected_ - 1); return true;
        case VK_DOWN: Select(selected_ + 1); return true;
        case VK_PRIOR: Select(selected_ - page); return true;
        case VK_NEXT: Select(selected_ + page); return true;
        case VK_HOME: Select(0); return true;
        case VK_END: Select(static_cast<int>(total_) - 1); return true;
        case VK_RETURN: LaunchRow(selected_); return true;
        case VK_ESCAPE: Hide(); return true;
        case VK_BACK:
            if (!EditSearch.Text().empty()) return false;
            Hide();
            return true;
        default: return false;
    }
}

// The keys of the item actions; plain Enter stays the list's own.
bool TFormSearch::ItemKey(WORD key) {
    const bool ctrl = CtrlHeld(), shift = ShiftHeld();
    if (OpensActionMenu(key, ctrl, shift)) {
        ShowRowMenu(selected_, BelowRow(selected_));
        return true;
    }
    const std::optional<ItemAction> action = ActionOfKey(key, ctrl, shift);
    if (!action || *action == ItemAction::Open) return false;
    // Text marked in the box is copied as text.
    DWORD from = 0, to = 0;
    ::SendMessageW(EditSearch.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    if (*action == ItemAction::CopyPath && from != to) return false;
    ActOnRow(selected_, *action);
    return true;
}

TMenuItem* TFormSearch::ItemOfRow(int row) {
    if (!actions || row < 0 || row >= static_cast<int>(results_.size())) return nullptr;
    // A load since the list was made replaced its entries: show the new ones.
    if (resultsFor_ != launcher_.MenuLoads()) {
        Refresh();
        return nullptr;
    }
    TMenuItem* entry = results_[row].entry;
    return results_[row].kind == LauncherSearch::Kind::Item && actions->Applies(*entry) ? entry : nullptr;
}

// The left end of the row's bottom edge on the screen, where a menu for it opens.
POINT TFormSearch::BelowRow(int row) const {
    POINT at{0, (std::max(row, ListResults.Top) - ListResults.Top + 1) * ListResults.RowHeight};
    ::ClientToScreen(ListResults.Handle(), &at);
    return at;
}

void TFormSearch::ActOnRow(int row, ItemAction action) {
    TMenuItem* entry = ItemOfRow(row);
    if (!entry) return;
    Hide();
    actions->Perform(action, *entry, Handle());
}

void TFormSearch::ShowRowMenu(int row, POINT at) {
    if (TMenuItem* entry = ItemOfRow(row)) actions->ShowMenu(*entry, at, Handle(), [this] { Hide(); });
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
    RECT place{};
    ::GetWindowRect(Handle(), &place);
    Hide();
    if (results_[row].kind == LauncherSearch::Kind::Folder) {
        if (OnOpenFolder) OnOpenFolder(*entry, POINT{place.left, place.top});
        return;
    }
    entry->Click();
}

LRESULT TFormSearch::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (TPopupMenu* open = TPopupMenu::Current(); open && open->HandleOwnerMessage(msg, wp, lp, result)) return result;
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE && Visible()) Hide();
    // The dialog keys' own commands, should a key reach them unclaimed.
    if (msg == WM_COMMAND && lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EditSearchKey(LOWORD(wp) == IDOK ? VK_RETURN : VK_ESCAPE);
        return 0;
    }
    if (msg == WM_CTLCOLOREDIT && reinterpret_cast<HWND>(lp) == EditSearch.Handle()) {
        const HDC dc = reinterpret_cast<HDC>(wp);
        // The palette in force owns the brush as long as it is in force; a new one repaints the box.
        const std::shared_ptr<const Palette> colours = CurrentPalette();
        ::SetTextColor(dc, colours->Colour(COLOR_MENUTEXT));
        ::SetBkColor(dc, colours->Colour(COLOR_MENU));
        return reinterpret_cast<LRESULT>(colours->Brush(COLOR_MENU));
    }
    return TForm::HandleMessage(msg, wp, lp);
}

}  // namespace rz
